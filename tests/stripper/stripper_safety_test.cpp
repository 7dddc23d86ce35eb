// Every file step of a run failing in turn, and the run stopping dead after each step in turn.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "stripper/map_version_stripper.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/host_files.h"
#include "tests/support/temporary_folder.h"

namespace {

using test_support::FaultyFileSystem;
using Contents = std::map<std::string, std::string>;

// After each failure or stop: the map's content is whole under one name, a report that says the
// map is unchanged is true, and the next run either finishes or refuses with the way to restore.
TEST(StripperSafety, EveryFailureOrStopKeepsTheMapAndTheNextRunFinishesOrSaysHowToRestore) {
  // Big enough that reading and writing take several calls each, with a line long enough to reach
  // the disk before its key shows that it must be taken back.
  std::string original;
  std::string stripped;
  for (int i = 0; i < 6000; ++i) {
    const std::string line = "( " + std::to_string(i) + " 0 0 ) ( 0 64 0 ) WALL 0 0 0 1 1\r\n";
    original += line + (i % 1000 == 0 ? "\"MapVersion\" \"220\"\r\n" : "");
    stripped += line;
  }
  original += std::string(300 * 1024, 'x') + " mapversion\r\nlast\r\n";
  stripped += "last\r\n";
  const Contents start = {{"Level1.map", original}};
  const Contents done = {{"Level1.map", stripped}};
  const test_support::TemporaryFolder folder;
  const auto files = [&] { return test_support::FolderContents(folder.path()); };
  // Runs on the map with `fails` choosing the calls that fail; the error report, empty on success.
  std::vector<std::string> calls;
  const auto run = [&](std::function<bool(int)> fails) {
    FaultyFileSystem fs(platform::NativeFileSystem(), std::move(fails));
    std::string report;
    try {
      // The argument as a host path, as a user on POSIX would type it.
      stripper::MapVersionStripper((folder / "Level1.map").string(), fs);
    } catch (const std::exception& failure) {
      report = failure.what();
    }
    calls = fs.calls();
    return report;
  };
  const auto restart = [&] {
    std::filesystem::remove_all(folder.path());
    std::filesystem::create_directory(folder.path());
    test_support::WriteHostFile(folder / "Level1.map", original);
  };

  restart();
  ASSERT_EQ(run(FaultyFileSystem::FailNone()), "");
  ASSERT_TRUE(files() == done);
  const std::vector<std::string> steps = calls;
  // The kept lines reach the disk before the map is set aside.
  ASSERT_LT(std::find(steps.begin(), steps.end(), "Sync"),
            std::find(steps.begin(), steps.end(), "Rename"));
  ASSERT_NE(std::find(steps.begin(), steps.end(), "Truncate"), steps.end());

  for (const bool stop : {false, true}) {
    for (int call = 1; call <= static_cast<int>(steps.size()); ++call) {
      SCOPED_TRACE((stop ? "stopped at call " : "failed call ") + std::to_string(call) + " (" +
                   steps[call - 1] + ")");
      restart();
      const std::string report =
          run(stop ? FaultyFileSystem::FailFrom(call) : FaultyFileSystem::FailOnly(call));
      const Contents after = files();
      EXPECT_FALSE(report.empty());
      EXPECT_EQ(std::count_if(after.begin(), after.end(),
                              [&](const auto& file) { return file.second == original; }),
                1);
      if (report.find("is unchanged") != std::string::npos ||
          report.find("nothing was changed") != std::string::npos) {
        EXPECT_TRUE(after == start) << report;
      }
      const std::string second = run(FaultyFileSystem::FailNone());
      if (after == start) {
        EXPECT_EQ(second, "");
        EXPECT_TRUE(files() == done);
      } else {
        // Whatever is left names a file the reports tell the user what to do with.
        EXPECT_NE(report.find("level1.bkr"), std::string::npos) << report;
        EXPECT_TRUE(report.find("rename") != std::string::npos ||
                    report.find("delete") != std::string::npos)
            << report;
        EXPECT_NE(second.find("level1.bkr"), std::string::npos) << second;
        EXPECT_TRUE(files() == after);
      }
    }
  }
}

}  // namespace
