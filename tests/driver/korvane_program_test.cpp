// The korvane program as a user starts it: command line, exit statuses, lock, runs without display.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include "driver/run_paths.h"
#include "platform/platform.h"
#include "tests/driver/run_folder.h"
#include "tests/support/posix/program_start.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace driver_testing;

class KorvaneProgram : public ::testing::Test {
 protected:
  void SetUp() override { EmptyTextureFolder(); }
  test_support::ProgramRun Run(const std::vector<std::string>& arguments = {},
                               const std::string& program = KORVANE_PROGRAM) {
    return RunHeadless(program, scratch_.path(), arguments);
  }
  const test_support::TemporaryFolder scratch_{"korvane-program"};
};

// Without a display the run log goes to standard output, its CR LF kept where that is no terminal,
// and the exit status says how the run went. A run that cannot take the lock changes nothing.
TEST_F(KorvaneProgram, TheExitStatusSaysHowTheRunWentAndTheRunLogIsPrinted) {
  const std::string wad = QuakeWad(2);
  struct Case {
    const char* name;
    Files files;
    int status;
    // The run log saved and printed, or what standard error says instead.
    const char* runLog;
    std::string err;
    Files after = {};
  };
  const Case cases[] = {
      Case("nothing to do", {}, 0, "successful.log", ""),
      Case("a conversion", {{"good.wad", wad}}, 0, "successful.log", ""),
      Case("a failure", {{"broken.wad", "WAD2 and nothing more"}, {"good.wad", wad}}, 1,
           "error.log", ""),
      Case("neither run log can be saved", {{"good.wad", wad}, {"error.log", kAFolder}}, 1, nullptr,
           driver::kErrorRunLog + std::string(": Is a directory."), {{"successful.log", kAbsent}}),
      Case("a folder where the lock is",
           {{"good.wad", wad}, {"error.log", "the last run's"}, {"korvane.lock", kAFolder}}, 1,
           nullptr, DriverPath("korvane.lock") + ": Is a directory.",
           {{"error.log", "the last run's"}, {"good.hlwad", kAbsent}}),
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyTextureFolder();
    WriteFiles(c.files);
    const auto run = Run();
    EXPECT_EQ(run.exitCode, c.status) << run.err;
    EXPECT_TRUE(Mentions(run.err, c.err)) << run.err;
    ExpectFiles(c.after);
    if (c.runLog != nullptr) {
      const std::string runLog = ReadHostFile(In(c.runLog));
      EXPECT_TRUE(run.out == runLog + "\r\n" || (run.out.starts_with(runLog + "\r\n") &&
                                                 run.out.ends_with(DriverPath(c.runLog) + "\r\n")))
          << run.out;
    }
  }
}

bool Within(std::chrono::milliseconds limit, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Korvane stopped in the middle of a batch, by each signal a user, a terminal or a time limit
// sends, and killed outright.
class StoppedKorvane : public KorvaneProgram, public ::testing::WithParamInterface<int> {};

TEST_P(StoppedKorvane, LeavesNothingRunningAndSaysWhy) {
  const int signal = GetParam();
  for (const char* name : {"a.wad", "b.wad", "c.wad"}) {
    WriteHostFile(In(name), QuakeWad(2, name[0]));
  }
  // b.wad is slow, and its converter starts a process of its own that ignores SIGINT, as a
  // shell's background job does. Every process of the batch writes down its id.
  const std::string pids = test_support::ShellWord((scratch_ / "pids").string());
  DropStandInConverter("echo $$ $PPID >> " + pids +
                       R"(; case "$2" in b.wad) echo part > b.hlwad.tmp; echo started; )"
                       "sleep 60 & echo $! >> " +
                       pids + "; wait ;; esac; exec wadconv \"$@\"");
  const auto batch = [this] {
    std::istringstream listed(ReadHostFile(scratch_ / "pids"));
    return std::vector<pid_t>(std::istream_iterator<pid_t>(listed), {});
  };
  const pid_t korvane =
      test_support::StartProgram(scratch_.path(), KORVANE_PROGRAM, {}, scratch_.path(), Headless());
  // The run log reaches standard output as it grows: the first progress dots are there while
  // the batch still works on b.wad.
  ASSERT_TRUE(Within(std::chrono::seconds(10), [&] {
    return batch().size() == 5 && Mentions(ReadHostFile(scratch_ / "out"), ".......");
  })) << ReadHostFile(scratch_ / "out");
  // The run holds the lock: a second Korvane leaves at once.
  const test_support::TemporaryFolder elsewhere("korvane-second");
  const auto second = RunHeadless(KORVANE_PROGRAM, elsewhere.path());
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_TRUE(Mentions(second.err, "already converting")) << second.err;
  ASSERT_EQ(::kill(korvane, signal), 0);
  const auto stopped =
      test_support::FinishProgram(korvane, scratch_.path(), std::chrono::seconds(10));
  EXPECT_EQ(stopped.exitCode, 128 + signal) << stopped.err;
  // The lock is free only once nothing of the batch runs, and that within 3 s.
  const int lock = ::open(In("korvane.lock").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(lock, 0);
  EXPECT_TRUE(
      Within(std::chrono::seconds(3), [&] { return ::flock(lock, LOCK_EX | LOCK_NB) == 0; }));
  const std::vector<pid_t> ids = batch();
  EXPECT_TRUE(std::none_of(ids.begin(), ids.end(), platform::ProcessIsRunning));
  ::close(lock);
  if (signal != SIGKILL) {
    // The saved run log names the signal; what was half-written is gone.
    const std::string errorLog = ReadHostFile(In("error.log"));
    EXPECT_TRUE(Mentions(errorLog, std::string("SIG") + sigabbrev_np(signal) + ".\r\n"))
        << errorLog;
    EXPECT_FALSE(fs::exists(In("b.hlwad.tmp")));
    EXPECT_FALSE(fs::exists(In("2hlwad.bat")));
  }
}

INSTANTIATE_TEST_SUITE_P(EachWayOfStopping, StoppedKorvane,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGKILL),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

// The four programs answer their command lines alike; none of these starts a run or touches a
// file. wadconv writes everything on standard output, with the line ends of its reports.
TEST_F(KorvaneProgram, EveryProgramFollowsTheSameCommandLineRules) {
  const fs::path programs = fs::path(KORVANE_PROGRAM).parent_path();
  const struct {
    fs::path path;
    // A wrong command line without options; pellisk takes any word for a map and repeats "-x".
    std::vector<std::string> unexpected;
    bool errorsOnStandardOutput;
    std::string lineEnd;
  } all[] = {
      {KORVANE_PROGRAM, {"textures"}, false, "\n"},
      {PELLISK_PROGRAM, {"-x"}, false, "\n"},
      {programs / "wadconv", {"metal.wad"}, true, "\r\n"},
      {programs / "korvane-cmd", {}, false, "\n"},
  };
  for (const auto& program : all) {
    const std::string name = program.path.filename().string();
    SCOPED_TRACE(name);
    const std::string usage = "usage: " + name + " ";
    for (const char* help : {"-h", "--help"}) {
      const auto run = Run({help}, program.path);
      EXPECT_TRUE(run.exitCode == 0 && run.out.starts_with(usage)) << run.out;
    }
    EXPECT_EQ(Run({"--version"}, program.path).out, name + " " + KORVANE_VERSION + program.lineEnd);
    // A wrong command line names the program and the offending option, and shows the usage.
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"-x"}, {"--help", "--version"}, program.unexpected}) {
      const auto run = Run(wrong, program.path);
      EXPECT_EQ(run.exitCode, 2) << wrong.size();
      const std::string said = program.errorsOnStandardOutput ? run.out : run.err;
      const std::string option = wrong.size() > 0 && wrong[0].starts_with("-") ? wrong[0] : "";
      EXPECT_TRUE(Mentions(said, name + ": ") && Mentions(said, option) &&
                  Mentions(said, program.lineEnd + usage))
          << said;
    }
  }
  EXPECT_FALSE(fs::exists(In("successful.log")));
  // korvane's help says where the texture folder is on this machine and what chooses it.
  const auto help = Run({"--help"});
  EXPECT_TRUE(Mentions(help.out, "\n  " + TextureFolder().string() + "\n")) << help.out;
  EXPECT_TRUE(Mentions(help.out, "WINEPREFIX=")) << help.out;
  // On a terminal lines end in LF: korvane's run log and wadconv's report.
  const auto terminal =
      Run({"-qec",
           "stty -onlcr; " + test_support::ShellWord(KORVANE_PROGRAM) + "; " +
               test_support::ShellWord((programs / "wadconv").string()) + " -wad2hl missing.wad",
           "/dev/null"},
          "script");
  EXPECT_TRUE(Mentions(terminal.out, driver::kNothingToConvert + std::string("\n")) &&
              Mentions(terminal.out, "missing.wad") && !Mentions(terminal.out, "\r"))
      << terminal.out;
}

// An editor under "Program Files (x86)": the link Korvane suggests works when pasted, on a prefix
// laid out as wineboot makes it (with its capitals) and on one that lacks "Program Files".
TEST_F(KorvaneProgram, TheSuggestedX86FixWorksAsPasted) {
  const fs::path driveC = DriveC();
  const fs::path textures = driveC / "Program Files (x86)" / "worldcraft" / "textures";
  for (const bool wineboot : {true, false}) {
    fs::remove_all(driveC);
    if (wineboot) {
      fs::create_directories(driveC / "Program Files");
    }
    fs::create_directories(textures);
    const auto before = Run();
    EXPECT_EQ(before.exitCode, 1);
    const std::size_t at = before.err.rfind(" with ");
    ASSERT_NE(at, std::string::npos) << before.err;
    const std::string command = before.err.substr(at + 6, before.err.rfind(".\n") - at - 6);
    ASSERT_EQ(std::system(("sh -e -c " + test_support::ShellWord(command)).c_str()), 0) << command;
    EXPECT_EQ(Run().exitCode, 0) << command;
    EXPECT_TRUE(fs::exists(textures / "successful.log")) << command;
  }
  // Later tests in this process find drive c: where it was.
  fs::remove_all(driveC);
  fs::create_directory(driveC);
}

}  // namespace
