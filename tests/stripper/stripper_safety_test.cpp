// Every file step of a run failing in turn, and the run stopping dead after each step in turn.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "stripper/map_version_stripper.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/host_files.h"
#include "tests/support/temporary_folder.h"

namespace stripper_test {
namespace {

using test_support::FaultyFileSystem;

using Contents = std::map<std::string, std::string>;

// Big enough that reading and writing take several calls each, with a line long enough to reach
// the disk before its key shows that it must be taken back.
struct MapText {
  std::string original;
  std::string stripped;
};

MapText MakeMapText() {
  MapText text;
  for (int i = 0; i < 6000; ++i) {
    const std::string line = "( " + std::to_string(i) + " 0 0 ) ( 0 64 0 ) WALL" +
                             std::to_string(i % 7) + " 0 0 0 1 1\r\n";
    text.original += line;
    text.stripped += line;
    if (i % 1000 == 0) {
      text.original += "\"MapVersion\" \"220\"\r\n";
    }
  }
  text.original += std::string(300 * 1024, 'x') + " mapversion\r\nlast\r\n";
  text.stripped += "last\r\n";
  return text;
}

class SafetyTest : public ::testing::Test {
 protected:
  // The argument as a host path, as a user on POSIX would type it.
  std::string Argument() const { return (folder_ / "Level1.map").string(); }

  // Runs with `fails` choosing the calls that fail; returns the error report, empty on success.
  std::string Run(std::function<bool(int)> fails, std::vector<std::string>* calls = nullptr) {
    FaultyFileSystem fs(platform::NativeFileSystem(), std::move(fails));
    std::string report;
    try {
      stripper::MapVersionStripper(Argument(), fs);
    } catch (const std::exception& failure) {
      report = failure.what();
      EXPECT_FALSE(report.empty());
    }
    if (calls != nullptr) {
      *calls = fs.calls();
    }
    return report;
  }

  Contents Files() const { return test_support::FolderContents(folder_.path()); }

  void Clear() {
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      std::filesystem::remove_all(entry.path());
    }
  }

  test_support::TemporaryFolder folder_;
};

// After each failure or stop: the map's content is whole under one name, a report that says the
// map is unchanged is true, and the next run either finishes or refuses with the way to restore.
TEST_F(SafetyTest, EveryFailureOrStopKeepsTheMapAndTheNextRunFinishesOrSaysHowToRestore) {
  const MapText text = MakeMapText();
  const Contents start = {{"Level1.map", text.original}};
  const Contents done = {{"Level1.map", text.stripped}};
  test_support::WriteHostFile(folder_ / "Level1.map", text.original);
  std::vector<std::string> calls;
  ASSERT_EQ(Run(FaultyFileSystem::FailNone(), &calls), "");
  ASSERT_TRUE(Files() == done);
  Clear();
  // The kept lines reach the disk before the map is set aside.
  const auto sync = std::find(calls.begin(), calls.end(), "Sync");
  ASSERT_LT(sync, std::find(calls.begin(), calls.end(), "Rename"));
  ASSERT_NE(std::find(calls.begin(), calls.end(), "Truncate"), calls.end());

  for (const bool stop : {false, true}) {
    for (int call = 1; call <= static_cast<int>(calls.size()); ++call) {
      SCOPED_TRACE((stop ? "stopped at call " : "failed call ") + std::to_string(call) + " (" +
                   calls[call - 1] + ")");
      test_support::WriteHostFile(folder_ / "Level1.map", text.original);
      const std::string report =
          Run(stop ? FaultyFileSystem::FailFrom(call) : FaultyFileSystem::FailOnly(call));
      const Contents after = Files();
      EXPECT_FALSE(report.empty());
      EXPECT_TRUE(std::count_if(after.begin(), after.end(), [&](const auto& file) {
                    return file.second == text.original;
                  }) == 1);
      if (report.find("is unchanged") != std::string::npos ||
          report.find("nothing was changed") != std::string::npos) {
        EXPECT_TRUE(after == start) << report;
      }
      if (after != start) {
        // Whatever is left names a file the report tells the user what to do with.
        EXPECT_TRUE(report.find("level1.bkr") != std::string::npos) << report;
        EXPECT_TRUE(report.find("rename") != std::string::npos ||
                    report.find("delete") != std::string::npos)
            << report;
      }
      const std::string second = Run(FaultyFileSystem::FailNone());
      if (after == start) {
        EXPECT_EQ(second, "");
        EXPECT_TRUE(Files() == done);
      } else {
        EXPECT_NE(second.find("level1.bkr"), std::string::npos) << second;
        EXPECT_TRUE(Files() == after);
      }
      Clear();
    }
  }
}

}  // namespace
}  // namespace stripper_test
