#include "tests/core/temp_prefix.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/wine_prefix.h"

namespace {

std::filesystem::path& Prefix() {
  static std::filesystem::path prefix;
  return prefix;
}

class PrefixEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Prefix() = test_support::MakeTemporaryWinePrefix("core-tests"); }
  void TearDown() override { std::filesystem::remove_all(Prefix()); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new PrefixEnvironment);

}  // namespace
