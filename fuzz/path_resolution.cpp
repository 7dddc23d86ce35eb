// libFuzzer target: the platform layer resolving Windows paths on the host. Drive C is a
// temporary WINEPREFIX's drive_c holding a small texture folder, which is the current folder; the
// input is a path, and a listing pattern. Only lookups happen: no file is opened for writing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/common/name_rules.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - ('a' - 'A'));
    }
  }
  return text;
}

class TexturePrefix {
 public:
  TexturePrefix() {
    std::string pattern = (fs::temp_directory_path() / "korvane-fuzz-XXXXXX").string();
    prefix_ = mkdtemp(pattern.data());
    driveC_ = prefix_ + "/drive_c";
    for (const char* file : {"Textures/Base.wad", "Textures/base2.WAD", "Textures/Sub/Deep.wad",
                             "Textures/.hidden.wad", "Other.txt"}) {
      const fs::path path = fs::path(driveC_) / file;
      fs::create_directories(path.parent_path());
      std::ofstream(path) << "WAD2";
    }
    setenv("WINEPREFIX", prefix_.c_str(), 1);
    const fs::path workingFolder = fs::current_path();
    fuzz::Require(platform::ChangeDrive('c') == 0 && platform::ChangeFolder("c:\\Textures") == 0,
                  "the temporary texture folder becomes current");
    // libFuzzer reads and writes its corpus by the paths it was given, which may be relative: the
    // process goes back to its working folder, while paths on drive C still resolve from the
    // texture folder, which the platform layer keeps as drive C's current folder.
    fs::current_path(workingFolder);
  }
  ~TexturePrefix() { fs::remove_all(prefix_); }

  const std::string& driveC() const { return driveC_; }

 private:
  std::string prefix_;
  std::string driveC_;
};

// Whether the path resolves from drive C: relative, from the current drive's root, or "c:".
bool OnDriveC(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') {
    return path[0] == 'c' || path[0] == 'C';
  }
  return !path.empty() && path.front() != '/';
}

void CheckLetterCase(const std::string& path) {
  platform::FileSystem& files = platform::NativeFileSystem();
  double time = 0;
  const bool exists = files.ModificationTime(path, time) == 0;
  fuzz::Require(exists == (files.ModificationTime(AsciiUpper(path), time) == 0) &&
                    exists == (files.ModificationTime(fuzz::AsciiLower(path), time) == 0),
                "on a drive, a name is found in any letter case or not at all");
}

void CheckHostPath(const TexturePrefix& prefix, const std::string& path) {
  std::string host;
  if (platform::HostPath(path, host) != 0) {
    return;
  }
  fuzz::Require(host == prefix.driveC() || host.starts_with(prefix.driveC() + "/"),
                "a path on drive C never leads above the drive's root");
  const std::string rest = host.substr(prefix.driveC().size()) + "/";
  fuzz::Require(rest.find("//") == std::string::npos && rest.find("/./") == std::string::npos &&
                    rest.find("/../") == std::string::npos,
                "a host path has no empty, \".\" or \"..\" names");
}

void CheckListing(const std::string& pattern) {
  std::vector<std::string> names;
  if (platform::NativeFileSystem().List("c:\\textures", pattern, names) != 0) {
    return;
  }
  std::vector<std::string> expected;
  for (const char* name : {"Base.wad", "base2.WAD"}) {
    if (platform::common::MatchesPattern(name, pattern)) {
      expected.emplace_back(name);
    }
  }
  fuzz::Require(names == expected,
                "a listing holds the folder's visible files that match, in listing order");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const TexturePrefix prefix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t end = std::min(text.find('\n'), text.size());
  const std::string path(text.substr(0, end));
  const std::string pattern(text.substr(std::min(end + 1, text.size())));
  if (OnDriveC(path)) {
    CheckLetterCase(path);
    CheckHostPath(prefix, path);
  }
  if (pattern.find_first_of("\\/") == std::string::npos) {
    CheckListing(pattern);
  }
  return 0;
}
