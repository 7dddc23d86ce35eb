#include <errno.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/batch_text.h"
#include "platform/platform.h"
#include "tests/support/host_files.h"
#include "tests/support/process_wait.h"
#include "tests/support/wine_prefix.h"

namespace platform_tests {

namespace {

namespace fs = std::filesystem;
using test_support::EndsWithin;
using test_support::ReadHostFile;
using test_support::WriteHostFile;
using namespace std::chrono_literals;

class Processes : public testing::Test {
 protected:
  test_support::TemporaryWinePrefix prefix;
};

TEST_F(Processes, RunningExitedAndNeverExistingProcesses) {
  fs::create_directories(prefix.OnC("Work Folder"));
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  ASSERT_EQ(platform::ChangeFolder("c:\\work folder"), 0);
  std::int32_t running = 0;
  std::int32_t exited = 0;
  ASSERT_EQ(platform::StartProcess("sleep 30", running), 0);
  ASSERT_EQ(platform::StartProcess("/bin/true", exited), 0);
  EXPECT_TRUE(platform::ProcessIsRunning(running));
  // Detached: in the current folder, reading nothing, in a session (so without a terminal) and
  // process group of its own.
  const std::string proc = "/proc/" + std::to_string(running);
  EXPECT_EQ(fs::read_symlink(proc + "/cwd"), prefix.OnC("Work Folder"));
  EXPECT_EQ(fs::read_symlink(proc + "/fd/0"), "/dev/null");
  EXPECT_EQ(getpgid(running), running);
  EXPECT_EQ(getsid(running), running);

  ASSERT_TRUE(EndsWithin(exited, 5000ms));
  // Reaped, not left as a zombie that still answers.
  EXPECT_FALSE(fs::exists("/proc/" + std::to_string(exited)));
  EXPECT_FALSE(platform::ProcessIsRunning(exited));

  platform::StopProcess(running);
  EXPECT_FALSE(platform::ProcessIsRunning(running));
  EXPECT_FALSE(fs::exists("/proc/" + std::to_string(running)));
  EXPECT_FALSE(platform::ProcessIsRunning(0));
  EXPECT_FALSE(platform::ProcessIsRunning(-1));
}

TEST_F(Processes, StopEndsGrandchildrenWhoseParentHasGone) {
  // The started shell ignores SIGTERM; the inner shell starts the sleep and ends at once: only the
  // process group still ties the orphaned grandchild to the started process.
  const std::string grandchild = prefix.OnC("Run/grandchild");
  WriteHostFile(prefix.OnC("Run/tree.sh"), "trap '' TERM\nsh -c 'sleep 60 & echo $! > " +
                                               grandchild + "' &\nwait\nsleep 60\n");
  std::int32_t id = 0;
  ASSERT_EQ(platform::StartProcess("/bin/sh " + prefix.OnC("Run/tree.sh"), id), 0);
  std::int32_t orphan = 0;
  for (int i = 0; i < 500 && orphan == 0; ++i) {
    std::this_thread::sleep_for(10ms);
    orphan = std::atoi(ReadHostFile(grandchild).c_str());
  }
  ASSERT_GT(orphan, 0);
  EXPECT_TRUE(platform::ProcessIsRunning(orphan));
  platform::StopProcess(id);
  EXPECT_FALSE(platform::ProcessIsRunning(id));
  EXPECT_TRUE(EndsWithin(orphan, 5000ms));
}

TEST_F(Processes, ProgramsThatCannotStartLeaveTheIdAlone) {
  WriteHostFile(prefix.OnC("Tools/notes.txt"), "");
  std::int32_t id = 12345;
  EXPECT_EQ(platform::StartProcess("c:\\tools\\missing.exe -x", id), ENOENT);
  EXPECT_EQ(platform::StartProcess("no-such-program-anywhere", id), ENOENT);
  EXPECT_EQ(platform::StartProcess("c:\\tools\\notes.txt", id), EACCES);
  EXPECT_EQ(platform::StartProcess("\"c:\\tools\\missing.bat\"", id), ENOENT);
  EXPECT_EQ(platform::StartProcess("  ", id), ENOENT);
  EXPECT_EQ(id, 12345);
}

TEST_F(Processes, BatchFilesRunThroughTheInterpreterBesideTheProgram) {
  // Beside this test program lies a stand-in korvane-cmd that records its id and arguments, and a
  // moment later that it ended: the id returned must be its own. Quotes group words and go.
  WriteHostFile(prefix.OnC("My Maps/2HLWAD.BAT"), "exit\r\n");
  const std::string record = (prefix.path() / "record").string();
  setenv("PLATFORM_PROBE_RECORD", record.c_str(), 1);
  std::int32_t id = 0;
  ASSERT_EQ(platform::StartProcess("  \"c:\\my maps\\2hlwad.bat\"\tone  \"\" x\"y z\"w", id), 0);
  ASSERT_TRUE(EndsWithin(id, 5000ms));
  EXPECT_EQ(ReadHostFile(record),
            std::to_string(id) + " c:\\my maps\\2hlwad.bat one  xy zw ended\n");
}

TEST(AsciiBatchText, EachRunBeyondAsciiGoesIntoAVariable) {
  const struct {
    std::string text;
    std::string ascii;
    std::vector<std::string> runs;
  } cases[] = {
      {"wadconv.exe -wad2hl Ch\u00e2teau.wad>logs\\ch\u00e2teau.log",
       "wadconv.exe -wad2hl Ch%KORVANE_TEXT_1%teau.wad>logs\\ch%KORVANE_TEXT_2%teau.log",
       {"\u00e2", "\u00e2"}},
      // A whole name in one run, and a "%%" of the batch kept beside a run.
      {"\"\u30c6\u30af\u30b9\u30c1\u30e3.wad\" \"100%%\u0414\u043e\u043c.wad\"",
       "\"%KORVANE_TEXT_1%.wad\" \"100%%%KORVANE_TEXT_2%.wad\"",
       {"\u30c6\u30af\u30b9\u30c1\u30e3", "\u0414\u043e\u043c"}},
      {"\xe9\xff", "%KORVANE_TEXT_1%", {"\xe9\xff"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> runs = {"stale"};
    EXPECT_EQ(platform::common::AsciiBatchText(c.text, runs), c.ascii) << c.text;
    EXPECT_EQ(runs, c.runs) << c.text;
  }
}

// What TakeRunLock on `path` gives in another process, which then ends without releasing it: 0,
// kLockHeld, or -1 for anything else.
int TakeInChild(const std::string& path) {
  const pid_t child = fork();
  if (child == 0) {
    platform::RunLock lock;
    const platform::Error error = platform::TakeRunLock(path, lock);
    _exit(error == 0 ? 0 : error == platform::kLockHeld ? 1 : 2);
  }
  int status = -1;
  if (child > 0) {
    waitpid(child, &status, 0);
  }
  return WIFEXITED(status) ? std::array{0, platform::kLockHeld, -1}[WEXITSTATUS(status) % 3] : -1;
}

TEST_F(Processes, TheRunLockHasOneHolderUntilReleasedOrEndedAndNeverGoesThroughALink) {
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
