// pellisk on a POSIX host: FIFOs, owners and permission bits, and the memory of a run.

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

// A FIFO must not make pellisk wait.
TEST_F(PelliskTest, RefusesAFifoWithoutWaiting) {
  ASSERT_EQ(mkfifo((work_ / "f.map").c_str(), 0644), 0);
  const test_support::ProgramRun run = Pellisk({"f.map"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Refusing f.map: it is not a regular file"), std::string::npos) << run.err;
}

// Bits a new file would not get (group write, set-group-ID) and an owner only root may give stay
// with the map; a line far longer than the memory pellisk may take, its key at the very end so
// that what was written of it must be taken back, leaves that memory bounded.
TEST_F(PelliskTest, KeepsPermissionsAndOwnerAndTakesBoundedMemoryForALineOfAnyLength) {
  const std::string map = (work_ / "m.map").string();
  {
    // Written piece by piece: a child's peak memory counts what it shares with this process.
    std::ofstream file(map, std::ios::binary);
    file << "first\n";
    for (int i = 0; i < 32; ++i) {
      file << std::string(1 << 20, 'a');
    }
    file << "mapversion";
  }
  const bool root = geteuid() == 0;
  const uid_t owner = root ? 1234u : getuid();
  const gid_t group = root ? 2345u : getgid();
  ASSERT_EQ(chown(map.c_str(), owner, group), 0);
  ASSERT_EQ(chmod(map.c_str(), 02664), 0);
  EXPECT_EQ(Pellisk({"m.map"}).exitCode, 0);
  struct stat status {};
  ASSERT_EQ(stat(map.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 02664u);
  EXPECT_EQ(status.st_uid, owner);
  EXPECT_EQ(status.st_gid, group);
  EXPECT_EQ(Files(), (Contents{{"m.map", "first\r\n"}}));
  rusage usage{};
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
#ifndef __SANITIZE_ADDRESS__
  // Under AddressSanitizer its own shadow memory counts too, so only the result is checked there.
  EXPECT_LT(usage.ru_maxrss, 16 * 1024) << "KiB at most in one child";
#endif
}

}  // namespace
}  // namespace stripper_test
