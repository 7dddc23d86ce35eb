// pellisk on a POSIX host: a file system that tells letter case apart, drive letters through
// WINEPREFIX, and runs killed part way through by a signal.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/stripper/pellisk_run.h"
#include "tests/support/program_run.h"

namespace stripper_test {
namespace {

using test_support::ShellWord;

TEST_F(PelliskTest, KeepsTheBackupInTheMapsOwnFolderWhereCaseCounts) {
  Write("Maps/Level1.map", kKeyed);
  Write("Maps/level1.bkr", "old backup");
  Write("maps/level1.bkr", "someone else's file");
  Strip({"Maps/Level1.map"});
  EXPECT_EQ(Files(),
            (Contents{{"Maps/Level1.map", kStripped}, {"maps/level1.bkr", "someone else's file"}}));
}

TEST_F(PelliskTest, ResolvesDriveLettersAndKeepsTheNameAsWritten) {
  Write("prefix/drive_c/Maps/Level1.MAP", kKeyed);
  Strip({"C:\\maps\\level1.map"}, {{"WINEPREFIX", (work_ / "prefix").string()}});
  EXPECT_EQ(Files(), (Contents{{"prefix/drive_c/Maps/level1.map", kStripped}}));
}

TEST_F(PelliskTest, AKilledRunKeepsTheContentAndTheNextRunFinishes) {
  const LargeMap map = MakeLargeMap(48 << 20);
  const std::size_t full = map.stripped.size();
  // Kill points by the size the temporary file has reached; the last one falls after the copy.
  const struct {
    std::size_t size;
    bool surelyRunning;
  } points[] = {{1, true}, {full / 4, true}, {full * 3 / 4, true}, {full, false}};
  for (const auto& point : points) {
    SCOPED_TRACE("killed at " + std::to_string(point.size) + " bytes");
    Write("big.map", map.original);
    const std::string script =
        "cd " + ShellWord(work_.path().string()) + " || exit 1; " + ShellWord(PELLISK_PATH) +
        " big.map & pid=$!; "
        "while kill -0 $pid 2>/dev/null && "
        "[ \"$(stat -c %s big.bkr.tmp 2>/dev/null || echo 0)\" -lt " +
        std::to_string(point.size) +
        " ]; do :; done; kill -9 $pid 2>/dev/null; wait $pid; [ $? -eq 137 ]";
    const bool killed = std::system(script.c_str()) == 0;
    if (point.surelyRunning) {
      EXPECT_TRUE(killed);
    }
    const bool mapPresent = std::filesystem::exists(work_ / "big.map");
    EXPECT_TRUE((mapPresent && test_support::ReadHostFile(work_ / "big.map") == map.original) ||
                (std::filesystem::exists(work_ / "big.bkr") &&
                 test_support::ReadHostFile(work_ / "big.bkr") == map.original) ||
                !killed);

    const test_support::ProgramRun second = Pellisk({"big.map"});
    if (mapPresent) {
      EXPECT_EQ(second.exitCode, 0) << second.err;
      EXPECT_TRUE(Files() == (Contents{{"big.map", map.stripped}}));
    } else {
      EXPECT_NE(second.exitCode, 0);
      EXPECT_TRUE(test_support::ReadHostFile(work_ / "big.bkr") == map.original);
    }
    std::filesystem::remove_all(work_.path());
    std::filesystem::create_directory(work_.path());
  }
}

}  // namespace
}  // namespace stripper_test
