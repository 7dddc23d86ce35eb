// pellisk on a POSIX host: a file system that tells letter case apart, drive letters through
// WINEPREFIX, hard links, FIFOs, owners and permission bits, and the memory of a run.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/stripper/pellisk_run.h"
#include "tests/support/program_run.h"

namespace stripper_test {
namespace {

TEST_F(PelliskTest, KeepsTheBackupInTheMapsOwnFolderWhereCaseCounts) {
  Write("Maps/Level1.map", kKeyed);
  Write("maps/level1.bkr", "someone else's file");
  Strip({"Maps/Level1.map"});
  EXPECT_EQ(Files(),
            (Contents{{"Maps/Level1.map", kStripped}, {"maps/level1.bkr", "someone else's file"}}));
}

TEST_F(PelliskTest, ResolvesDriveLettersAndKeepsTheNameOnDisk) {
  Write("prefix/drive_c/Maps/Level1.MAP", kKeyed);
  Strip({"C:\\maps\\level1.map"}, {{"WINEPREFIX", (work_ / "prefix").string()}});
  EXPECT_EQ(Files(), (Contents{{"prefix/drive_c/Maps/Level1.MAP", kStripped}}));
}

// What a folder that tells letter case apart adds: names Windows would take for one, a hard link
// at the temporary name, a FIFO (which must not make pellisk wait).
TEST_F(PelliskTest, RefusesCaseVariantsLinksAndFifosBeforeTouchingAnything) {
  const struct {
    const char* what;
    Contents files;
    const char* argument;
    std::string report;
  } cases[] = {
      {"the map in two letter cases",
       {{"c.map", kKeyed}, {"c.MAP", kKeyed}},
       "c.map",
       "Refusing c.map: its folder holds c.MAP, c.map, names that differ only in letter case"},
      {"a backup in other letter case",
       {{"c.map", kKeyed}, {"C.BKR", "old"}},
       "c.map",
       "Refusing c.map: C.BKR already exists"},
      {"a temporary name in other letter case",
       {{"c.map", kKeyed}, {"c.BKR.tmp", "x"}},
       "C.map",
       "Refusing c.map: c.BKR.tmp already exists"},
      {"a hard link at the temporary name",
       {{"h.map", kKeyed}, {"elsewhere", "keep"}},
       "h.map",
       "Refusing h.map: h.bkr.tmp already exists"},
      {"a FIFO", {}, "f.map", "Refusing f.map: it is not a regular file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& [name, bytes] : c.files) {
      Write(name, bytes);
    }
    if (c.files.contains("elsewhere")) {
      std::filesystem::create_hard_link(work_ / "elsewhere", work_ / "h.bkr.tmp");
    }
    if (c.files.empty()) {
      ASSERT_EQ(mkfifo((work_ / "f.map").c_str(), 0644), 0);
    }
    const std::string report = Fail({c.argument});
    EXPECT_EQ(report.rfind("pellisk: " + c.report, 0), 0u) << report;
    Clear();
  }
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
    Write("m.map", kKeyed);
    const std::string map = (work_ / "m.map").string();
    ASSERT_EQ(chown(map.c_str(), c.owner, c.group), 0);
    ASSERT_EQ(chmod(map.c_str(), c.mode), 0);
    Strip({"m.map"});
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
  Strip({"keyed.map"});
  Strip({"kept.map"});
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
