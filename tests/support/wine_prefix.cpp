#include "tests/support/wine_prefix.h"

#include <random>
#include <stdexcept>

#include "platform/platform.h"
#include "tests/support/environment.h"

namespace test_support {

std::filesystem::path MakeTemporaryWinePrefix(const std::string& kind) {
  std::random_device random;
  const std::filesystem::path prefix =
      std::filesystem::temp_directory_path() /
      (kind + "-" + std::to_string(random()) + std::to_string(random()));
  if (!std::filesystem::create_directories(prefix / "drive_c")) {
    throw std::runtime_error("cannot make the Wine prefix " + prefix.string());
  }
  SetEnvironment("WINEPREFIX", prefix.string());
  return prefix;
}

std::filesystem::path DriveC() {
  std::string host;
  if (platform::HostPath("c:\\", host) != 0) {
    throw std::runtime_error("cannot find where drive c: lies");
  }
  return host;
}

TemporaryWinePrefix::TemporaryWinePrefix(const std::string& kind)
    : startFolder_(std::filesystem::current_path()), folder_(kind) {
  std::filesystem::create_directory(folder_ / "drive_c");
  SetEnvironment("WINEPREFIX", folder_.path().string());
}

TemporaryWinePrefix::~TemporaryWinePrefix() {
  std::error_code ignored;
  std::filesystem::current_path(startFolder_, ignored);
}

std::string TemporaryWinePrefix::OnC(const std::string& path) const {
  const std::filesystem::path driveC = folder_ / "drive_c";
  return (path.empty() ? driveC : driveC / path).string();
}

}  // namespace test_support
