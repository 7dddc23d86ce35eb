// The korvane program as a user starts it from a terminal: its command line, its exit statuses,
// its lock, its runs where no display can be opened and how they stop, and the commands its
// documents give.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "driver/run_paths.h"
#include "driver/stamp_record.h"
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
                               const Environment& extra = {},
                               const std::string& program = KORVANE_PROGRAM) {
    return RunHeadless(program, scratch_.path(), arguments, extra);
  }

  const test_support::TemporaryFolder scratch_{"korvane-program"};
};

// Without a display the run log goes to standard output, its CR LF kept where that is no terminal,
// and the exit status says how the run went. A run that cannot take the lock changes nothing.
TEST_F(KorvaneProgram, TheExitStatusSaysHowTheRunWentAndTheRunLogIsPrinted) {
  const std::string wad = QuakeWad(2);
  const std::string lock = DriverPath("korvane.lock");
  const struct {
    const char* name;
    Files files;
    int status;
    // The run log saved and printed, or what standard error says instead.
    const char* runLog;
    std::string err;
    Files after = {};
    void (*arrange)() = nullptr;
  } cases[] = {
      {"nothing to do", {}, 0, "successful.log", ""},
      {"a conversion", {{"good.wad", wad}}, 0, "successful.log", ""},
      {"a failure",
       {{"broken.wad", "WAD2 and nothing more"}, {"good.wad", wad}},
       1,
       "error.log",
       ""},
      {"neither run log can be saved",
       {{"good.wad", wad}, {"error.log", kAFolder}},
       1,
       nullptr,
       driver::kErrorRunLog + std::string(": Is a directory."),
       {{"successful.log", kAbsent}}},
      {"a folder where the lock is",
       {{"good.wad", wad}, {"error.log", "the last run's"}, {"korvane.lock", kAFolder}},
       1,
       nullptr,
       lock + ": Is a directory.",
       {{"error.log", "the last run's"}, {"good.hlwad", kAbsent}}},
      {"a FIFO where the lock is",
       {{"good.wad", wad}, {"error.log", "the last run's"}},
       1,
       nullptr,
       lock + ": Permission denied.",
       {{"error.log", "the last run's"}, {"good.hlwad", kAbsent}},
       [] { ASSERT_EQ(::mkfifo(In("korvane.lock").c_str(), 0600), 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyTextureFolder();
    WriteFiles(c.files);
    if (c.arrange != nullptr) {
      c.arrange();
    }

    const auto run = Run();

    EXPECT_EQ(run.exitCode, c.status) << run.err;
    EXPECT_TRUE(Mentions(run.err, c.err)) << run.err;
    ExpectFiles(c.after);
    if (c.runLog != nullptr) {
      // The whole run log, and where it was saved when a window would have shown it.
      const std::string runLog = ReadHostFile(In(c.runLog));
      EXPECT_TRUE(run.out == runLog + "\r\n" || (run.out.starts_with(runLog + "\r\n") &&
                                                 run.out.ends_with(DriverPath(c.runLog) + "\r\n")))
          << run.out;
    }
  }
}

// Waits until `done` holds, for at most `limit`.
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

TEST_P(StoppedKorvane, LeavesNothingRunningAndTheNextRunConvertsEveryWad) {
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
    EXPECT_TRUE(stopped.out.ends_with(DriverPath("error.log") + "\r\n")) << stopped.out;
    EXPECT_FALSE(fs::exists(In("b.hlwad.tmp")));
    EXPECT_FALSE(fs::exists(In("2hlwad.bat")));
  }

  fs::remove(In("wadconv.exe"));
  const auto next = Run();
  EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
  for (const std::string stem : {"a", "b", "c"}) {
    EXPECT_EQ(ReadHostFile(In(stem + ".hlwad")).substr(0, 4), "WAD3") << stem;
    EXPECT_TRUE(fs::exists(In("logs/" + stem + ".stmp"))) << stem;
  }
  EXPECT_FALSE(fs::exists(In("b.hlwad.tmp")));
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
    // A wrong command line without options; pellisk's own tests have its one.
    std::optional<std::vector<std::string>> unexpected;
    bool errorsOnStandardOutput;
    std::string lineEnd;
  } all[] = {
      {KORVANE_PROGRAM, std::vector<std::string>{"textures"}, false, "\n"},
      {PELLISK_PROGRAM, std::nullopt, false, "\n"},
      {programs / "wadconv", std::vector<std::string>{"metal.wad"}, true, "\r\n"},
      {programs / "korvane-cmd", std::vector<std::string>{}, false, "\n"},
  };
  for (const auto& program : all) {
    const std::string name = program.path.filename().string();
    SCOPED_TRACE(name);
    const std::string usage = "usage: " + name + " ";
    for (const char* help : {"-h", "--help"}) {
      const auto run = Run({help}, {}, program.path);
      EXPECT_TRUE(run.exitCode == 0 && run.out.starts_with(usage)) << run.out;
    }
    EXPECT_EQ(Run({"--version"}, {}, program.path).out,
              name + " " + KORVANE_VERSION + program.lineEnd);
    // A wrong command line names the program and the offending option, and shows the usage.
    std::vector<std::vector<std::string>> wrongs = {{"-x"}, {"--help", "--version"}};
    if (program.unexpected) {
      wrongs.push_back(*program.unexpected);
    }
    for (const std::vector<std::string>& wrong : wrongs) {
      const auto run = Run(wrong, {}, program.path);
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
          {}, "script");
  EXPECT_TRUE(Mentions(terminal.out, driver::kNothingToConvert + std::string("\n")) &&
              Mentions(terminal.out, "missing.wad") && !Mentions(terminal.out, "\r"))
      << terminal.out;
}

std::string SourceFile(const std::string& path) {
  return ReadHostFile(fs::path(KORVANE_SOURCE_DIR) / path);
}

// The example blocks of a manual page's source, as a shell reads them.
std::vector<std::string> ManualExamples(const std::string& page) {
  const std::string source = SourceFile("man/" + page);
  std::vector<std::string> blocks;
  for (std::size_t at = source.find(".EX\n"); at != std::string::npos;
       at = source.find(".EX\n", at + 1)) {
    std::string block = source.substr(at + 4, source.find(".EE\n", at) - at - 4);
    for (const auto& [escape, character] : {std::pair{"\\-", "-"}, {"\\e", "\\"}}) {
      for (std::size_t k = block.find(escape); k != std::string::npos;
           k = block.find(escape, k + 1)) {
        block.replace(k, 2, character);
      }
    }
    blocks.push_back(block);
  }
  return blocks;
}

// The fixes for an editor under "Program Files (x86)" work when pasted on a prefix laid out as
// wineboot makes it, with its capitals, and on one that lacks "Program Files": Korvane's own
// suggestion, the README's commands and the manual page's (the same lines).
TEST_F(KorvaneProgram, TheX86FixesWorkAsPasted) {
  const std::string readmeText = SourceFile("README.md");
  const std::size_t from = readmeText.find("```\n", readmeText.find("<!-- x86 fix -->")) + 4;
  const std::string readme = readmeText.substr(from, readmeText.find("```", from) - from);
  ASSERT_TRUE(Mentions(readme, "ln -s")) << readme;
  const std::vector<std::string> manual = ManualExamples("korvane.1");
  EXPECT_NE(std::find(manual.begin(), manual.end(), readme), manual.end()) << readme;
  // The package's README and the ZIP's readme (a Windows text file, CR LF) give the same lines,
  // indented.
  for (const char* other : {"packaging/debian/README", "packaging/readme-windows.txt"}) {
    const std::string text = SourceFile(other);
    std::istringstream lines(readme);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_TRUE(Mentions(text, line + "\n") || Mentions(text, line + "\r\n"))
          << other << ": " << line;
    }
  }

  const fs::path driveC = DriveC();
  for (const bool wineboot : {true, false}) {
    for (const bool fromReadme : {true, false}) {
      fs::remove_all(driveC);
      if (wineboot) {
        fs::create_directories(driveC / "Program Files");
      }
      fs::create_directories(driveC / "Program Files (x86)" / "worldcraft" / "textures");

      const auto before = Run();
      EXPECT_EQ(before.exitCode, 1);
      // The suggestion is the last words of the report, after "with ".
      const std::size_t at = before.err.rfind(" with ");
      ASSERT_NE(at, std::string::npos) << before.err;
      const std::string suggested = before.err.substr(at + 6, before.err.rfind(".\n") - at - 6);
      const std::string command = fromReadme ? readme : suggested;
      ASSERT_EQ(std::system(("sh -e -c " + test_support::ShellWord(command)).c_str()), 0)
          << command;

      const auto after = Run();
      EXPECT_EQ(after.exitCode, 0) << command << after.err;
      EXPECT_TRUE(
          fs::exists(driveC / "Program Files (x86)" / "worldcraft" / "textures" / "successful.log"))
          << command;
    }
  }
  fs::remove_all(driveC);
}

// The folder of the korvane-cmd example holds the WAD it names; the converter's report is kept.
TEST_F(KorvaneProgram, TheBatchExampleRunsAsPasted) {
  const std::vector<std::string> examples = ManualExamples("korvane-cmd.1");
  ASSERT_EQ(examples.size(), 1u);
  WriteHostFile(scratch_ / "metal.wad", QuakeWad(2));
  const std::string path =
      fs::path(KORVANE_PROGRAM).parent_path().string() + ":" + std::getenv("PATH");
  const std::string script = "cd " + test_support::ShellWord(scratch_.path().string()) +
                             " && PATH=" + test_support::ShellWord(path) + " && " + examples[0];
  ASSERT_EQ(std::system(("sh -e -c " + test_support::ShellWord(script) + " >/dev/null").c_str()),
            0);
  EXPECT_EQ(ReadHostFile(scratch_ / "metal.hlwad").substr(0, 4), "WAD3");
  EXPECT_TRUE(Mentions(ReadHostFile(scratch_ / "logs" / "metal.log"), "metal.hlwad"));
}

// Every manual page reads as written: no line of text starts with a control character, which roff
// would take for a request and eat.
TEST_F(KorvaneProgram, ManualPagesShowTheirTextWhole) {
  const std::string macros = " TH SH SS PP TP IP B I BR RB IR RI RS RE EX EE br MT ME ";
  for (const char* page : {"korvane.1", "pellisk.1", "wadconv.1", "korvane-cmd.1"}) {
    std::istringstream lines(SourceFile(std::string("man/") + page));
    for (std::string line; std::getline(lines, line);) {
      const std::string request = " " + line.substr(1, line.find(' ') - 1) + " ";
      EXPECT_FALSE(line.starts_with("'") || (line.starts_with(".") && !Mentions(macros, request)))
          << page << ": " << line;
    }
  }
}

// A texture folder as a stranger's pack could leave it: names that a command interpreter reads as
// several lines or as its own syntax, links at every name the run writes that point outside, a FIFO
// and a folder named like WADs. The run ends by itself, runs no command but the converter, changes
// nothing outside the folder, and every stamp stands for a real HL WAD of the stamped length.
TEST_F(KorvaneProgram, HostilePackChangesNothingOutsideAndStampsOnlyRealConversions) {
  const fs::path outside = scratch_ / "outside";
  const fs::path spy = scratch_ / "spy";
  WriteHostFile(spy / "touch", "#!/bin/sh\necho \"$@\" >> '" + (outside / "ran").string() + "'\n");
  fs::permissions(spy / "touch", fs::perms::owner_all);
  for (const char* name : {"a\ntouch PWNED\nb.wad", "c\rtouch PWNED.wad", "q\"uote.wad",
                           "tab\t.wad", "trailing.wad ", "100%.wad", "a&b.wad", "c^d.wad"}) {
    WriteHostFile(In(name), QuakeWad(1));
  }
  ASSERT_EQ(::mkfifo(In("pipe.wad").c_str(), 0600), 0);
  fs::create_directories(In("folder.wad"));
  int victims = 0;
  for (const char* written :
       {"2hlwad.bat", "error.log", "successful.log", "100%.hlwad", "100%.hlwad.tmp",
        "logs/100%.log", "logs/100%.stmp", "a&b.hlwad", "logs/a&b.log", "logs/a&b.stmp"}) {
    const fs::path target = outside / ("victim-" + std::to_string(++victims));
    WriteHostFile(target, "the user's own file");
    fs::create_directories(In(written).parent_path());
    fs::create_symlink(target, In(written));
  }

  const auto run = Run({}, {{"PATH", spy.string() + ":" + std::getenv("PATH")}});

  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_FALSE(fs::exists(outside / "ran")) << ReadHostFile(outside / "ran");
  for (const auto& victim : fs::directory_iterator(outside)) {
    EXPECT_EQ(ReadHostFile(victim.path()), "the user's own file") << victim.path();
  }
  int stamps = 0;
  for (const auto& entry : fs::directory_iterator(In("logs"))) {
    if (entry.path().extension() != ".stmp" || fs::is_symlink(entry.path())) {
      continue;
    }
    ++stamps;
    const fs::path hlwad = In(entry.path().stem().string() + ".hlwad");
    const std::string converted = ReadHostFile(hlwad);
    EXPECT_EQ(converted.substr(0, 4), "WAD3") << hlwad;
    EXPECT_FALSE(fs::is_symlink(hlwad));
    const std::string name = "logs\\" + entry.path().filename().string();
    EXPECT_EQ(fs::file_size(entry.path()), driver::kStampRecordSize);
    EXPECT_EQ(driver::ReadStampRecord(platform::NativeFileSystem(), DriverPath(name)).HlwadLength,
              static_cast<std::int32_t>(converted.size()))
        << hlwad;
  }
  // 100%.wad, a&b.wad and c^d.wad; the listing leaves out the rest.
  EXPECT_EQ(stamps, 3);
}

}  // namespace
