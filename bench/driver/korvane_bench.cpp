// Korvane's run measured against its goals and baselines, side by side, medians of several runs:
//   (a) the examination of 10,000 and 20,000 up-to-date WADs (no window shown);
//   (b) Korvane's own processor time while a stand-in converter sleeps 5 s;
//   (c) converting 200 generated WADs, against a plain shell loop running wadconv on them.
// Runs in a WINEPREFIX of its own under the folder given as the only argument. The batch
// interpreter and the converter must lie next to this program.

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/trace.h"
#include "driver/conversion_driver.h"
#include "driver/stamp_record.h"
#include "tools/wad_generator.h"
#include "window/memory/memory_window.h"
#include "window/qt/qt_progress_window.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kFolder = "c:\\program files\\worldcraft\\textures\\";

fs::path Textures(const fs::path& prefix) {
  return prefix / "drive_c" / "program files" / "worldcraft" / "textures";
}

void Write(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Seconds(Clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// A texture folder of `count` WADs, each with its HL WAD and a stamp that matches both. The
// stamps are written to the host paths directly: making thousands of files through the
// case-matching layer would take longer than the measurement.
void MakeUpToDateFolder(const fs::path& prefix, int count) {
  fs::remove_all(Textures(prefix));
  fs::create_directories(Textures(prefix) / "logs");
  for (int i = 0; i < count; ++i) {
    const std::string stem = "tex" + std::to_string(i);
    Write(Textures(prefix) / (stem + ".wad"), std::string(600, 'w'));
    Write(Textures(prefix) / (stem + ".hlwad"), std::string(900, 'h'));
  }
  platform::FileSystem& files = platform::NativeFileSystem();
  for (int i = 0; i < count; ++i) {
    const std::string stem = "tex" + std::to_string(i);
    driver::StampRecord stamp =
        driver::CurrentStampRecord(files, kFolder + stem + ".wad", kFolder + stem + ".hlwad");
    driver::SetStampText(files, stamp, kFolder + stem + ".wad", kFolder + stem + ".hlwad");
    const driver::StampBytes bytes = driver::EncodeStampRecord(stamp);
    Write(Textures(prefix) / "logs" / (stem + ".stmp"), std::string(bytes.data(), bytes.size()));
  }
}

// Each run of Korvane is a process of its own, which starts with an empty session trace.
void StartAsNewProcess() {
  core::Session_TraceText.clear();
  core::Session_TabState = 0;
  window::DonePressed = false;
}

double ExaminationSeconds(const fs::path& prefix, int count, int runs) {
  MakeUpToDateFolder(prefix, count);
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    StartAsNewProcess();
    window::MemoryWindow progress;
    const auto begin = Clock::now();
    driver::ConversionDriver(progress);
    times.push_back(Seconds(Clock::now() - begin));
    if (progress.Visible() || !fs::exists(Textures(prefix) / "successful.log") ||
        progress.Text1Box().Text().find("Convert") != std::string::npos) {
      std::fprintf(stderr, "examination: the WADs were not all up to date\n");
      std::exit(1);
    }
  }
  return Median(times);
}

struct CpuShare {
  double wall = 0;
  double cpu = 0;
};

CpuShare WaitCpu(const fs::path& prefix, int runs) {
  std::vector<double> walls;
  std::vector<double> cpus;
  for (int run = 0; run < runs; ++run) {
    fs::remove_all(Textures(prefix));
    fs::create_directories(Textures(prefix));
    Write(Textures(prefix) / "slow.wad", std::string(600, 'w'));
    Write(Textures(prefix) / "wadconv.exe", "#!/bin/sh\nsleep 5\ncat \"$2\" > slow.hlwad\n");
    fs::permissions(Textures(prefix) / "wadconv.exe", fs::perms::owner_all);
    StartAsNewProcess();
    window::QtProgressWindow progress;
    const std::clock_t cpuBegin = std::clock();
    const auto begin = Clock::now();
    driver::ConversionDriver(progress);
    walls.push_back(Seconds(Clock::now() - begin));
    cpus.push_back(static_cast<double>(std::clock() - cpuBegin) / CLOCKS_PER_SEC);
  }
  return {Median(walls), Median(cpus)};
}

void MakeGeneratedWads(const fs::path& prefix, int count) {
  fs::remove_all(Textures(prefix));
  fs::create_directories(Textures(prefix) / "logs");
  for (int i = 0; i < count; ++i) {
    wadgen::WadOptions options;
    options.seed = static_cast<std::uint32_t>(i + 1);
    std::vector<wadgen::Texture> textures;
    const std::vector<std::uint8_t> bytes =
        wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), false);
    Write(Textures(prefix) / ("wad" + std::to_string(i) + ".wad"),
          std::string(bytes.begin(), bytes.end()));
  }
}

void RemoveOutputs(const fs::path& prefix) {
  for (const auto& entry : fs::directory_iterator(Textures(prefix))) {
    if (entry.path().extension() == ".hlwad" || entry.path().extension() == ".log") {
      fs::remove(entry.path());
    }
  }
  fs::remove_all(Textures(prefix) / "logs");
  fs::create_directories(Textures(prefix) / "logs");
}

struct ConversionTimes {
  double korvane = 0;
  double loop = 0;
};

ConversionTimes ConvertMany(const fs::path& prefix, const fs::path& wadconv, int count, int runs) {
  MakeGeneratedWads(prefix, count);
  const std::string loop = "cd '" + Textures(prefix).string() + "' && for f in *.wad; do '" +
                           wadconv.string() + "' -wad2hl \"$f\" > \"logs/${f%.wad}.log\"; done";
  std::vector<double> korvane;
  std::vector<double> shell;
  for (int run = 0; run < runs; ++run) {
    RemoveOutputs(prefix);
    StartAsNewProcess();
    window::QtProgressWindow progress;
    const auto begin = Clock::now();
    const driver::RunResult result = driver::ConversionDriver(progress);
    korvane.push_back(Seconds(Clock::now() - begin));
    if (result.failureCount != 0 || !fs::exists(Textures(prefix) / "successful.log")) {
      std::fprintf(stderr, "conversion: Korvane's run failed %d WADs:\n%s\n", result.failureCount,
                   result.log.c_str());
      std::exit(1);
    }

    RemoveOutputs(prefix);
    const auto loopBegin = Clock::now();
    if (std::system(loop.c_str()) != 0) {
      std::fprintf(stderr, "conversion: the shell loop failed\n");
      std::exit(1);
    }
    shell.push_back(Seconds(Clock::now() - loopBegin));
  }
  return {Median(korvane), Median(shell)};
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: bench_korvane WORK_FOLDER [SECTIONS, such as abc]\n");
    return 2;
  }
  const std::string sections = argc == 3 ? argv[2] : "abc";
  const fs::path prefix = fs::absolute(argv[1]);
  fs::remove_all(prefix);
  fs::create_directories(prefix / "drive_c");
  setenv("WINEPREFIX", prefix.c_str(), 1);
  const fs::path here = fs::canonical("/proc/self/exe").parent_path();
  const fs::path wadconv = here / "wadconv";
  for (const fs::path& helper : {wadconv, here / "korvane-cmd"}) {
    if (!fs::exists(helper)) {
      std::fprintf(stderr, "bench_korvane: %s is missing; build it first\n", helper.c_str());
      return 1;
    }
  }

  if (sections.find('a') != std::string::npos) {
    const double ten = ExaminationSeconds(prefix, 10000, 5);
    const double twenty = ExaminationSeconds(prefix, 20000, 5);
    std::printf("(a) examination of up-to-date WADs, no window, median of 5\n");
    std::printf("    10,000 WADs %8.3f s   goal < 2 s      (%.2f of the goal)\n", ten, ten / 2);
    std::printf("    20,000 WADs %8.3f s   ratio 20k/10k %.2f   goal < 2.2\n", twenty,
                twenty / ten);
  }
  if (sections.find('b') != std::string::npos) {
    const CpuShare wait = WaitCpu(prefix, 3);
    std::printf(
        "(b) Korvane's own CPU while a stand-in converter sleeps 5 s, Qt window, median of 3\n");
    std::printf("    wall %.2f s   CPU %.3f s   share %.2f %%   goal < 2 %%\n", wait.wall, wait.cpu,
                100 * wait.cpu / wait.wall);
  }
  if (sections.find('c') != std::string::npos) {
    const ConversionTimes times = ConvertMany(prefix, wadconv, 200, 5);
    std::printf("(c) converting 200 generated WADs, median of 5\n");
    std::printf(
        "    Korvane %.3f s   shell loop running wadconv %.3f s   ratio %.2f   goal <= 1.1\n",
        times.korvane, times.loop, times.korvane / times.loop);
  }
  fs::remove_all(prefix);
  return 0;
}
