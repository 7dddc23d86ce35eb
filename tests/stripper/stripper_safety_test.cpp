// Each file step of a run failing in turn, and the run stopping dead at each step in turn.

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
using test_support::kInjectedError;

using Contents = std::map<std::string, std::string>;

// Big enough that reading and writing take several calls each.
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
  return text;
}

const MapText kText = MakeMapText();

class SafetyTest : public ::testing::Test {
 protected:
  // The argument as a host path, as a user on POSIX would type it.
  std::string Argument() const { return (folder_ / "Level1.map").string(); }

  void WriteStart(bool withOldBackup) {
    test_support::WriteHostFile(folder_ / "Level1.map", kText.original);
    if (withOldBackup) {
      test_support::WriteHostFile(folder_ / "level1.bkr", "an old backup\r\n");
    }
  }

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

  std::vector<std::string> CallsOfASuccessfulRun(bool withOldBackup) {
    WriteStart(withOldBackup);
    std::vector<std::string> calls;
    EXPECT_EQ(Run(FaultyFileSystem::FailNone(), &calls), "");
    EXPECT_TRUE(test_support::FolderContents(folder_.path()) ==
                (Contents{{"Level1.map", kText.stripped}}));
    Clear();
    return calls;
  }

  void Clear() {
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      std::filesystem::remove_all(entry.path());
    }
  }

  test_support::TemporaryFolder folder_;
};

TEST_F(SafetyTest, TheKeptLinesReachTheDiskBeforeTheMapIsSetAside) {
  const std::vector<std::string> calls = CallsOfASuccessfulRun(false);
  const auto sync = std::find(calls.begin(), calls.end(), "Sync");
  const auto rename = std::find(calls.begin(), calls.end(), "Rename");
  ASSERT_NE(sync, calls.end());
  ASSERT_NE(rename, calls.end());
  EXPECT_LT(sync, rename);
}

TEST_F(SafetyTest, AFailureAtAnyStepLeavesTheFilesAsTheyWere) {
  for (const bool withOldBackup : {false, true}) {
    const std::vector<std::string> calls = CallsOfASuccessfulRun(withOldBackup);
    // An old backup goes without a question once the run has read the whole map.
    const auto oldBackupDeletedAt =
        std::find(calls.begin(), calls.end(), "Delete") - calls.begin() + 1;
    for (int call = 1; call <= static_cast<int>(calls.size()); ++call) {
      SCOPED_TRACE("call " + std::to_string(call) + " (" + calls[call - 1] + ")" +
                   (withOldBackup ? " with an old backup" : ""));
      WriteStart(withOldBackup);
      Contents expected = test_support::FolderContents(folder_.path());
      const std::string report = Run(FaultyFileSystem::FailOnly(call));
      if (report.empty()) {
        // Only a failed existence test may pass unnoticed: the backup name is then taken to be
        // free, which it is here.
        EXPECT_EQ(calls[call - 1], "ModificationTime");
        expected = {{"Level1.map", kText.stripped}};
      } else if (call > oldBackupDeletedAt) {
        expected.erase("level1.bkr");
      }
      if (!report.empty() && calls[call - 1] != "ModificationTime") {
        EXPECT_NE(report.find("(error " + std::to_string(kInjectedError) + ")"), std::string::npos)
            << report;
      }
      EXPECT_TRUE(test_support::FolderContents(folder_.path()) == expected) << report;
      Clear();
    }
  }
}

TEST_F(SafetyTest, AStopAtAnyStepKeepsTheContentAndTheNextRunFinishesOrRefuses) {
  const std::vector<std::string> calls = CallsOfASuccessfulRun(true);
  for (int call = 1; call <= static_cast<int>(calls.size()); ++call) {
    SCOPED_TRACE("stopped at call " + std::to_string(call) + " (" + calls[call - 1] + ")");
    WriteStart(true);
    const std::string report = Run(FaultyFileSystem::FailFrom(call));
    EXPECT_FALSE(report.empty());
    Contents after = test_support::FolderContents(folder_.path());
    const bool mapPresent = after.count("Level1.map") == 1;
    EXPECT_TRUE(after["Level1.map"] == kText.original || after["level1.bkr"] == kText.original);
    if (!mapPresent) {
      EXPECT_NE(report.find("level1.bkr"), std::string::npos) << report;
    }

    const std::string second = Run(FaultyFileSystem::FailNone());
    if (mapPresent) {
      EXPECT_EQ(second, "");
      EXPECT_TRUE(test_support::FolderContents(folder_.path()) ==
                  (Contents{{"Level1.map", kText.stripped}}));
    } else {
      EXPECT_NE(second.find("level1.bkr"), std::string::npos) << second;
      EXPECT_TRUE(test_support::ReadHostFile(folder_ / "level1.bkr") == kText.original);
    }
    Clear();
  }
}

}  // namespace
}  // namespace stripper_test
