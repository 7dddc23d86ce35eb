// pellisk on a POSIX host: folders that tell letter case apart, drive letters through WINEPREFIX,
// FIFOs, owners and permission bits, and the memory of a run.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/stripper/pellisk_run.h"

namespace stripper_test {
namespace {

TEST_F(PelliskTest, FindsTheMapItsBackupAndDrivesWhereLetterCaseCounts) {
  // The backup goes beside the map, not into a folder of another letter case.
  const Contents other = {{"maps/l.bkr", "someone else's"}};
  Check({"case",
         {{"Maps/L.map", kKeyed}, *other.begin()},
         {"Maps/L.map"},
         0,
         "",
         Contents{{"Maps/L.map", kStripped}, *other.begin()}});
  Check({"drive",
         {{"prefix/drive_c/Maps/L.MAP", kKeyed}},
         {"C:\\maps\\l.map"},
         0,
         "",
         Contents{{"prefix/drive_c/Maps/L.MAP", kStripped}}},
        {{"WINEPREFIX", (work_ / "prefix").string()}});
  // A FIFO must not make pellisk wait.
  Check({"FIFO",
         {},
         {"f.map"},
         1,
         "Refusing f.map: it is not a regular file",
         std::nullopt,
         [](const std::filesystem::path& work) {
           ASSERT_EQ(mkfifo((work / "f.map").c_str(), 0644), 0);
         }});
}

TEST_F(PelliskTest, KeepsPermissionBitsOwnerAndGroup) {
  // Tests may run as root, who may give the map any owner; others keep their own.
  const bool root = geteuid() == 0;
  const struct {
    mode_t mode;
    uid_t owner;
    gid_t group;
  } cases[] = {{0600, root ? 1234u : getuid(), root ? 2345u : getgid()},
               {0664, getuid(), getgid()},
               {02640, getuid(), getgid()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode));
    test_support::WriteHostFile(work_ / "m.map", kKeyed);
    const std::string map = (work_ / "m.map").string();
    ASSERT_EQ(chown(map.c_str(), c.owner, c.group), 0);
    ASSERT_EQ(chmod(map.c_str(), c.mode), 0);
    EXPECT_EQ(Pellisk({"m.map"}).exitCode, 0);
    struct stat status {};
    ASSERT_EQ(stat(map.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, c.mode);
    EXPECT_EQ(status.st_uid, c.owner);
    EXPECT_EQ(status.st_gid, c.group);
    EXPECT_EQ(Files(), (Contents{{"m.map", kStripped}}));
  }
}

// A line far longer than the memory pellisk may take, with its key at the very end (so that what
// was written of it must be taken back) and without.
TEST_F(PelliskTest, ALineOfAnyLengthTakesBoundedMemory) {
  constexpr int kMiB = 32;
  {
    // Written piece by piece: a child's peak memory counts what it shares with this process.
    std::ofstream keyed(work_ / "keyed.map", std::ios::binary);
    std::ofstream kept(work_ / "kept.map", std::ios::binary);
    const std::string piece(1 << 20, 'a');
    keyed << "first\n";
    for (int i = 0; i < kMiB; ++i) {
      keyed << piece;
      kept << piece;
    }
    keyed << "mapversion";
  }
  EXPECT_EQ(Pellisk({"keyed.map"}).exitCode, 0);
  EXPECT_EQ(Pellisk({"kept.map"}).exitCode, 0);
  rusage usage{};
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
#ifndef __SANITIZE_ADDRESS__
  // Under AddressSanitizer its own shadow memory counts too, so only the result is checked there.
  EXPECT_LT(usage.ru_maxrss, 16 * 1024) << "KiB at most in one child";
#endif
  EXPECT_TRUE(Files() == (Contents{{"keyed.map", "first\r\n"},
                                   {"kept.map", std::string(kMiB << 20, 'a') + "\r\n"}}));
}

}  // namespace
}  // namespace stripper_test
