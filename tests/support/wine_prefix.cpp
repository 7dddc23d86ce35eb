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

}  // namespace test_support
