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

TEST(RunLocks, OneHolderAtATimeUntilReleasedOrEndedAndNeverThroughALink) {
  const test_support::TemporaryWinePrefix prefix;
  fs::create_directories(prefix.OnC("Textures"));
  WriteHostFile(prefix.OnC("victim.txt"), "the user's own file");
  fs::create_symlink(prefix.OnC("victim.txt"), prefix.OnC("Textures/korvane.lck"));
  const std::string path = "c:\\textures\\korvane.lck";
  platform::RunLock lock;
  ASSERT_EQ(platform::TakeRunLock(path, lock), 0);
  EXPECT_FALSE(fs::is_symlink(prefix.OnC("Textures/korvane.lck")));
  EXPECT_EQ(TakeInChild(prefix.OnC("victim.txt")), 0);
  EXPECT_EQ(TakeInChild(path), platform::kLockHeld);
  platform::RunLock second;
  EXPECT_EQ(platform::TakeRunLock("C:\\TEXTURES\\KORVANE.LCK", second), platform::kLockHeld);
  EXPECT_EQ(second.handle, -1);

  platform::ReleaseRunLock(lock);
  EXPECT_EQ(lock.handle, -1);
  platform::ReleaseRunLock(lock);
  // The child ends holding the lock without releasing it: its end alone must free it.
  EXPECT_EQ(TakeInChild(path), 0);
  ASSERT_EQ(platform::TakeRunLock(path, lock), 0);
  platform::ReleaseRunLock(lock);
  EXPECT_EQ(ReadHostFile(prefix.OnC("victim.txt")), "the user's own file");

  EXPECT_EQ(platform::TakeRunLock("c:\\missing\\korvane.lck", lock), ENOENT);
  EXPECT_NE(platform::ErrorDescription(platform::kLockHeld).find("lock"), std::string::npos);
}

}  // namespace

}  // namespace platform_tests
