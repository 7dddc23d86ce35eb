#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "tests/support/host_files.h"
#include "tests/support/process_wait.h"
#include "tests/support/temporary_folder.h"

namespace platform_win32_tests {

namespace {

using namespace std::chrono_literals;

// The probe program beside the test program.
std::string Probe() {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  return (std::filesystem::path(std::string(self, length)).parent_path() / PROBE_PROGRAM).string();
}

using test_support::EndsWithin;

// The content of a file that another process writes, once it is there and ends in a line break.
std::string WaitForLine(const std::string& path) {
  std::string content;
  for (int i = 0; i < 1000 && content.find('\n') == std::string::npos; ++i) {
    std::this_thread::sleep_for(10ms);
    content = test_support::ReadHostFile(path);
  }
  return content;
}

// The process id that the probe wrote to `path`, or 0.
std::int32_t IdIn(const std::string& path) {
  return static_cast<std::int32_t>(std::atol(WaitForLine(path).c_str()));
}

class Win32Processes : public ::testing::Test {
 protected:
  void SetUp() override { _putenv_s("KORVANE_PROBE_OUT", (scratch + "arguments.txt").c_str()); }

  // What the probe received as its argument text when started with `commandLine`.
  std::string ArgumentTextOf(const std::string& commandLine) {
    std::remove((scratch + "arguments.txt").c_str());
    std::int32_t id = 0;
    EXPECT_EQ(platform::StartProcess(commandLine, id), 0);
    EXPECT_TRUE(EndsWithin(id, 10s));
    return test_support::ReadHostFile(scratch + "arguments.txt");
  }

  test_support::TemporaryFolder folder_;
  const std::string scratch = folder_.path().string() + "\\";
};

// An exit code of 259 is what the system reports for a process that still runs; a started process
// that ended with it must still read as ended, or the wait for it would never end.
TEST_F(Win32Processes, RunningAndEndedProcessesReadAsSuch) {
  std::int32_t still = 0;
  std::int32_t running = 0;
  ASSERT_EQ(platform::StartProcess("\"" + Probe() + "\" exit 259", still), 0);
  ASSERT_EQ(platform::StartProcess("\"" + Probe() + "\" wait " + scratch + "pid.txt", running), 0);
  EXPECT_TRUE(EndsWithin(still, 10s));
  ASSERT_NE(IdIn(scratch + "pid.txt"), 0);
  EXPECT_TRUE(platform::ProcessIsRunning(running));
  platform::StopProcess(running);
  EXPECT_FALSE(platform::ProcessIsRunning(running));
  EXPECT_FALSE(platform::ProcessIsRunning(0));
  EXPECT_FALSE(platform::ProcessIsRunning(-1));
  EXPECT_NE(platform::StartProcess("\"" + scratch + "missing.exe\"", still), 0);
}

// Through a batch, the probe lies beside this test program, and neither in the batch's folder nor
// on PATH: the batch finds it there by its bare name. (Wine may find it by itself, so the batch's
// PATH is checked too.)
TEST_F(Win32Processes, TheRawArgumentTextArrivesAsTypedDirectlyOrThroughABatch) {
  const std::string probe = "\"" + Probe() + "\"";
  const std::string probeFolder = std::filesystem::path(Probe()).parent_path().string();
  ASSERT_TRUE(CreateDirectoryA((scratch + "my folder").c_str(), nullptr));
  ASSERT_EQ(platform::ChangeDrive(scratch[0]), 0);
  ASSERT_EQ(platform::ChangeFolder(scratch), 0);
  const std::string batch = scratch + "my folder\\Run It.BAT";
  test_support::WriteHostFile(batch, "@echo off\r\necho %PATH%>path.txt\r\n" +
                                         std::string(PROBE_PROGRAM) +
                                         " \"quoted name.map\" 100%%\u00e2 Preis_\u20ac "
                                         "\u0414\u043e\u043c.map\r\nexit\r\n");
  // Letters beyond ASCII reach the program as written, whatever code page cmd.exe reads in.
  EXPECT_EQ(ArgumentTextOf("\"" + batch + "\""),
            "\"quoted name.map\" 100%\u00e2 Preis_\u20ac \u0414\u043e\u043c.map");
  EXPECT_EQ(test_support::ReadHostFile(scratch + "path.txt"),
            std::string(std::getenv("PATH")) + ";" + probeFolder + "\r\n");
  EXPECT_EQ(ArgumentTextOf(probe + " \"C:\\My Maps\\a b.map\""), "\"C:\\My Maps\\a b.map\"");
  EXPECT_EQ(ArgumentTextOf(probe + "   \"a.map\"  \"b.map\" "), "\"a.map\"  \"b.map\" ");
  EXPECT_EQ(ArgumentTextOf(probe + " \"C:\\My Maps\\a b.map"), "\"C:\\My Maps\\a b.map");
  EXPECT_EQ(ArgumentTextOf(probe + " a\\\"b\\\\\" c"), "a\\\"b\\\\\" c");
  EXPECT_EQ(ArgumentTextOf(probe), "");
  EXPECT_EQ(ArgumentTextOf(probe + " \u0414\u043e\u043c \u30c6.map"),
            "\u0414\u043e\u043c \u30c6.map");
  // An unquoted program name ends at the first blank.
  ASSERT_EQ(platform::ChangeFolder(probeFolder), 0);
  EXPECT_EQ(ArgumentTextOf(std::string(PROBE_PROGRAM) + " \"x y\""), "\"x y\"");
}

// A batch ends with every program it started, a program whose parent has gone among them (the
// inner interpreter starts it and ends at once, and it leaves its console, so only the job still
// ties it to the batch): when it is stopped, and when the program that started it is killed
// outright (that program is in no job of its own).
TEST_F(Win32Processes, ABatchEndsWithEveryProgramItStartedWhenStoppedOrWhenItsStarterIsKilled) {
  for (const bool kill : {false, true}) {
    const std::string batch = scratch + "batch.bat";
    std::remove((scratch + "orphan.txt").c_str());
    std::remove((scratch + "child.txt").c_str());
    test_support::WriteHostFile(batch, "cmd /c start \"\" /b \"" + Probe() + "\" wait " + scratch +
                                           "orphan.txt\r\n\"" + Probe() + "\" wait " + scratch +
                                           "child.txt\r\nexit\r\n");
    std::string line = "\"" + Probe() + "\" start \"" + batch + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION starter{};
    std::int32_t interpreter = 0;
    ASSERT_EQ(kill ? CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                    nullptr, nullptr, &startup, &starter) == 0
                   : platform::StartProcess("\"" + batch + "\"", interpreter),
              0);
    const std::int32_t ids[] = {IdIn(scratch + "orphan.txt"), IdIn(scratch + "child.txt")};
    for (const std::int32_t id : ids) {
      EXPECT_TRUE(platform::ProcessIsRunning(id)) << kill;
    }
    if (kill) {
      TerminateProcess(starter.hProcess, 1);
      CloseHandle(starter.hThread);
      CloseHandle(starter.hProcess);
    } else {
      platform::StopProcess(interpreter);
      EXPECT_TRUE(EndsWithin(interpreter, 5s));
    }
    for (const std::int32_t id : ids) {
      EXPECT_TRUE(EndsWithin(id, kill ? 3s : 5s)) << kill;
    }
  }
}

TEST_F(Win32Processes, TheRunLockHasOneHolderAndDiesWithIt) {
  const std::string path = scratch + "korvane.lck";
  const std::string result = scratch + "arguments.txt";
  platform::RunLock lock;
  ASSERT_EQ(platform::TakeRunLock(path, lock), 0);
  std::int32_t other = 0;
  ASSERT_EQ(platform::StartProcess("\"" + Probe() + "\" lock " + path, other), 0);
  EXPECT_EQ(WaitForLine(result), std::to_string(platform::kLockHeld) + "\n");
  EXPECT_TRUE(EndsWithin(other, 10s));
  platform::ReleaseRunLock(lock);
  EXPECT_EQ(lock.handle, -1);

  std::remove(result.c_str());
  ASSERT_EQ(platform::StartProcess("\"" + Probe() + "\" lock " + path, other), 0);
  EXPECT_EQ(WaitForLine(result), "0\n");
  EXPECT_EQ(platform::TakeRunLock(path, lock), platform::kLockHeld);
  EXPECT_EQ(lock.handle, -1);
  platform::StopProcess(other);
  ASSERT_TRUE(EndsWithin(other, 5s));
  EXPECT_EQ(platform::TakeRunLock(path, lock), 0);
  platform::ReleaseRunLock(lock);
  EXPECT_NE(platform::ErrorDescription(platform::kLockHeld).find("lock"), std::string::npos);
}

}  // namespace

}  // namespace platform_win32_tests
