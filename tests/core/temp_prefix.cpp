#include "tests/core/temp_prefix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/platform.h"
#include "tests/support/environment.h"

namespace testing_support {

namespace {

std::filesystem::path& Prefix() {
  static std::filesystem::path prefix;
  return prefix;
}

class PrefixEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::random_device random;
    Prefix() = std::filesystem::temp_directory_path() /
               ("core-tests-" + std::to_string(random()) + std::to_string(random()));
    ASSERT_TRUE(std::filesystem::create_directories(Prefix() / "drive_c"));
    test_support::SetEnvironment("WINEPREFIX", Prefix().string());
  }
  void TearDown() override { std::filesystem::remove_all(Prefix()); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new PrefixEnvironment);

}  // namespace

// Where the platform puts drive c: (the prefix's drive_c, or on Windows the drive itself).
const std::string& DriveC() {
  static const std::string driveC = [] {
    std::string host;
    platform::HostPath("c:\\", host);
    return host;
  }();
  return driveC;
}

}  // namespace testing_support
