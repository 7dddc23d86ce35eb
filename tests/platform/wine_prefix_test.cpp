#include "tests/platform/wine_prefix_test.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace platform_tests {

void WinePrefixTest::SetUp() {
  startFolder_ = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "platform-tests-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  prefix_ = pattern;
  std::filesystem::create_directory(prefix_ / "drive_c");
  setenv("WINEPREFIX", prefix_.c_str(), 1);
}

void WinePrefixTest::TearDown() {
  std::filesystem::current_path(startFolder_);
  std::filesystem::remove_all(prefix_);
}

std::string WinePrefixTest::OnC(const std::string& path) const {
  const std::filesystem::path driveC = prefix_ / "drive_c";
  return (path.empty() ? driveC : driveC / path).string();
}

void WinePrefixTest::MakeFile(const std::string& path, const std::string& content) const {
  const std::filesystem::path host = OnC(path);
  std::filesystem::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary) << content;
}

void WinePrefixTest::MakeFolder(const std::string& path) const {
  std::filesystem::create_directories(OnC(path));
}

std::string WinePrefixTest::Content(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) {
    return "<missing>";
  }
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace platform_tests
