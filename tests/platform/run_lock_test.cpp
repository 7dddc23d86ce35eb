#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"

namespace platform_tests {

namespace {

namespace fs = std::filesystem;
using test_support::ReadHostFile;
using test_support::WriteHostFile;

constexpr int kHeldStatus = 100;
constexpr int kFailedStatus = 101;

// What TakeRunLock on `path` gives in another process: 0, kLockHeld, or kFailedStatus.
int TakeInChild(const std::string& path) {
  const pid_t child = fork();
  if (child == 0) {
    platform::RunLock lock;
    const platform::Error error = platform::TakeRunLock(path, lock);
    _exit(error == 0 ? 0 : error == platform::kLockHeld ? kHeldStatus : kFailedStatus);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return -1;
  }
  return WEXITSTATUS(status) == kHeldStatus ? platform::kLockHeld : WEXITSTATUS(status);
}

class RunLocks : public testing::Test {
 protected:
  test_support::TemporaryWinePrefix prefix;
};

TEST_F(RunLocks, OneHolderAtATimeUntilReleased) {
  fs::create_directories(prefix.OnC("Textures"));
  const std::string path = "c:\\textures\\korvane.lck";
  platform::RunLock lock;
  ASSERT_EQ(platform::TakeRunLock(path, lock), 0);
  EXPECT_TRUE(fs::is_regular_file(prefix.OnC("Textures/korvane.lck")));
  EXPECT_EQ(TakeInChild(path), platform::kLockHeld);
  platform::RunLock second;
  EXPECT_EQ(platform::TakeRunLock("C:\\TEXTURES\\KORVANE.LCK", second), platform::kLockHeld);
  EXPECT_EQ(second.handle, -1);

  platform::ReleaseRunLock(lock);
  EXPECT_EQ(lock.handle, -1);
  platform::ReleaseRunLock(lock);
  EXPECT_EQ(TakeInChild(path), 0);
  ASSERT_EQ(platform::TakeRunLock(path, lock), 0);
  platform::ReleaseRunLock(lock);

  EXPECT_EQ(platform::TakeRunLock("c:\\missing\\korvane.lck", lock), ENOENT);
  EXPECT_NE(platform::ErrorDescription(platform::kLockHeld).find("lock"), std::string::npos);
}

TEST_F(RunLocks, AKilledHolderLeavesNoStaleLock) {
  fs::create_directories(prefix.OnC("Textures"));
  const std::string path = "c:\\textures\\korvane.lck";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    platform::RunLock lock;
    const char taken = platform::TakeRunLock(path, lock) == 0 ? 'y' : 'n';
    (void)!write(ready[1], &taken, 1);
    pause();
    _exit(0);
  }
  ASSERT_GT(holder, 0);
  char taken = 0;
  ASSERT_EQ(read(ready[0], &taken, 1), 1);
  close(ready[0]);
  close(ready[1]);
  ASSERT_EQ(taken, 'y');
  platform::RunLock lock;
  EXPECT_EQ(platform::TakeRunLock(path, lock), platform::kLockHeld);

  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(platform::TakeRunLock(path, lock), 0);
  platform::ReleaseRunLock(lock);
}

TEST_F(RunLocks, ALinkAtTheLockNameIsReplacedNotFollowed) {
  fs::create_directories(prefix.OnC("Textures"));
  WriteHostFile(prefix.OnC("victim.txt"), "the user's own file");
  fs::create_symlink(prefix.OnC("victim.txt"), prefix.OnC("Textures/korvane.lck"));
  platform::RunLock lock;
  ASSERT_EQ(platform::TakeRunLock("c:\\textures\\korvane.lck", lock), 0);
  EXPECT_FALSE(fs::is_symlink(prefix.OnC("Textures/korvane.lck")));
  EXPECT_EQ(TakeInChild(prefix.OnC("victim.txt")), 0);
  platform::ReleaseRunLock(lock);
  EXPECT_EQ(ReadHostFile(prefix.OnC("victim.txt")), "the user's own file");
}

}  // namespace

}  // namespace platform_tests
