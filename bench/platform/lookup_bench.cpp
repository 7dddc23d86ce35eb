// Name lookups the way the conversion run makes them: 10,000 WADs in a folder of 20,000 files whose
// names hold capitals, each looked up three times by its lower-cased name (time, length, and the
// missing converted file). Printed beside the floor under it: as many stat() calls on the exact
// host names.

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 20000;
constexpr int kWads = 10000;
constexpr int kRuns = 5;

std::string Number(int i) {
  char text[8];
  std::snprintf(text, sizeof text, "%05d", i);
  return text;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <typename Work>
double Milliseconds(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  std::string prefix = (fs::temp_directory_path() / "platform-bench-XXXXXX").string();
  if (mkdtemp(prefix.data()) == nullptr) {
    return 1;
  }
  setenv("WINEPREFIX", prefix.c_str(), 1);
  const fs::path textures =
      fs::path(prefix) / "drive_c" / "Program Files" / "Worldcraft" / "Textures";
  fs::create_directories(textures);
  for (int i = 0; i < kFiles; ++i) {
    std::ofstream(textures / ("Texture_" + Number(i) + ".WAD")) << "wad";
  }

  platform::FileSystem& files = platform::NativeFileSystem();
  const std::string folder = "c:\\program files\\worldcraft\\textures";
  int failures = 0;
  const auto lookUp = [&] {
    for (int i = 0; i < kWads; ++i) {
      double date = 0;
      std::int64_t length = 0;
      const std::string stem = folder + "\\texture_" + Number(i);
      failures += files.ModificationTime(stem + ".wad", date) != 0;
      failures += files.Length(stem + ".wad", length) != 0;
      failures += files.ModificationTime(stem + ".hlwad", date) == 0;
    }
  };
  const auto statExact = [&] {
    struct stat status {};
    for (int i = 0; i < kWads; ++i) {
      const std::string stem = (textures / ("Texture_" + Number(i))).string();
      failures += stat((stem + ".WAD").c_str(), &status) != 0;
      failures += stat((stem + ".WAD").c_str(), &status) != 0;
      failures += stat((stem + ".hlwad").c_str(), &status) == 0;
    }
  };
  std::vector<double> elsewhere;
  std::vector<double> inside;
  std::vector<double> floor;
  for (int run = 0; run < kRuns; ++run) {
    failures += platform::ChangeFolder(prefix) != 0;
    elsewhere.push_back(Milliseconds(lookUp));
    failures += platform::ChangeDrive('c') != 0 || platform::ChangeFolder(folder) != 0;
    inside.push_back(Milliseconds(lookUp));
    floor.push_back(Milliseconds(statExact));
  }
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(prefix);

  const double baseline = Median(floor);
  std::printf("%-50s %9s %9s %7s\n", "30,000 lookups, median of 5 runs", "ms", "stat() ms",
              "ratio");
  for (const auto& [label, times] : {std::pair{"current folder elsewhere", &elsewhere},
                                     std::pair{"current folder is the texture folder", &inside}}) {
    const double measured = Median(*times);
    std::printf("%-50s %9.1f %9.1f %7.2f\n", label, measured, baseline, measured / baseline);
  }
  return failures == 0 ? 0 : 1;
}
