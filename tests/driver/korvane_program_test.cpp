// The korvane program as a user starts it from a terminal: its command line, its exit statuses,
// and its runs where no display can be opened.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "tests/driver/run_folder.h"
#include "tests/support/posix/program_start.h"
#include "tests/support/program_run.h"

namespace {

namespace fs = std::filesystem;
using driver_testing::DropStandInConverter;
using driver_testing::QuakeWad;
using driver_testing::ReadHostFile;
using driver_testing::TextureFolder;
using driver_testing::WriteHostFile;

class KorvaneProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(TextureFolder());
    TextureFolder();
    scratch_ = fs::temp_directory_path() / ("korvane-program-" + std::to_string(::getpid()));
    fs::create_directories(scratch_);
  }
  void TearDown() override { fs::remove_all(scratch_); }

  // Korvane without a display: no X11 or Wayland server and no platform chosen for Qt.
  test_support::ProgramRun Run(const std::vector<std::string>& arguments = {},
                               std::vector<std::pair<std::string, std::string>> environment = {},
                               const fs::path& program = KORVANE_PROGRAM) {
    environment.insert(environment.begin(),
                       {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
    return test_support::RunProgram(scratch_, program.string(), arguments, scratch_, environment);
  }

  static fs::path In(const std::string& name) { return TextureFolder() / name; }

  fs::path scratch_;
};

TEST_F(KorvaneProgram, WithoutDisplayNothingToDoEndsWithStatusZero) {
  const auto run = Run();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // Not a terminal: the run log keeps its CR LF line ends.
  EXPECT_EQ(run.out, "No WADs require conversion.  Everything up to date!\r\n");
}

TEST_F(KorvaneProgram, WithoutDisplayFailuresPrintTheRunLogAndEndWithStatusOne) {
  WriteHostFile(In("broken.wad"), "WAD2 and nothing more");
  WriteHostFile(In("good.wad"), QuakeWad(2));

  const auto run = Run();

  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.out.find("Error creating HLWAD: "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Conversion successful for "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("END OF DATA .. Log written to "), std::string::npos);
  EXPECT_TRUE(fs::exists(In("error.log")));
}

// Where neither run log can be saved, the cause reaches the user on standard error.
TEST_F(KorvaneProgram, ARunLogThatCannotBeSavedIsExplainedOnStandardError) {
  WriteHostFile(In("good.wad"), QuakeWad(2));
  fs::create_directories(In("error.log"));

  const auto run = Run();

  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.out.find("END OF DATA .. Unable to write to log "), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("korvane: Cannot save the run log "
                         "c:\\program files\\worldcraft\\textures\\error.log: Is a directory."),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(In("successful.log")));
}

TEST_F(KorvaneProgram, WithoutDisplayConversionsEndWithStatusZero) {
  WriteHostFile(In("good.wad"), QuakeWad(2));

  const auto run = Run();

  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Perfect ... All conversion successful! "), std::string::npos) << run.out;
  EXPECT_TRUE(fs::exists(In("good.hlwad")));
}

// Names that Windows cannot hold are never converted, but every run log counts them, also the one
// that says everything is up to date.
TEST_F(KorvaneProgram, NamesWindowsCannotHoldAreCountedInTheRunLog) {
  WriteHostFile(In("a:b.wad"), QuakeWad(1));
  WriteHostFile(In("tab\t.wad"), QuakeWad(1));
  WriteHostFile(In("good.wad"), QuakeWad(1));
  const std::string counted = "\r\n2 files left out: names Windows cannot hold\r\n";

  const auto run = Run();

  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string runLog = ReadHostFile(In("successful.log"));
  EXPECT_NE(runLog.find("Number of Quake WADS found = 1" + counted), std::string::npos) << runLog;
  EXPECT_NE(runLog.find("Perfect ... All conversion successful! "), std::string::npos) << runLog;

  const auto again = Run();
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(ReadHostFile(In("successful.log")),
            "No WADs require conversion.  Everything up to date!" +
                counted.substr(0, counted.size() - 2));
  EXPECT_NE(again.out.find(counted.substr(0, counted.size() - 2)), std::string::npos) << again.out;
}

// Korvane and its batch interpreter installed without the converter, and an older HL WAD beside
// the WAD: the run fails the WAD instead of stamping the old HL WAD.
TEST_F(KorvaneProgram, NoConverterAnywhereFailsTheWadAndStampsNothing) {
  const fs::path bin = scratch_ / "bin";
  fs::create_directories(bin);
  const fs::path programs = fs::path(KORVANE_PROGRAM).parent_path();
  fs::copy_file(KORVANE_PROGRAM, bin / "korvane");
  fs::copy_file(programs / "korvane-cmd", bin / "korvane-cmd");
  WriteHostFile(In("old.wad"), QuakeWad(1));
  WriteHostFile(In("old.hlwad"), QuakeWad(3) + "older and larger");

  const auto run = test_support::RunProgram(scratch_, (bin / "korvane").string(), {}, scratch_,
                                            {{"DISPLAY", ""},
                                             {"WAYLAND_DISPLAY", ""},
                                             {"QT_QPA_PLATFORM", ""},
                                             {"PATH", "/usr/bin:/bin"}});

  EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
  EXPECT_NE(run.out.find("Error creating HLWAD: "), std::string::npos) << run.out;
  EXPECT_FALSE(fs::exists(In("old.hlwad")));
  EXPECT_FALSE(fs::exists(In("logs/old.stmp")));
  EXPECT_TRUE(fs::exists(In("error.log")));
}

// A lock that another run holds, or that cannot be taken at all, keeps the run from changing
// anything; the lock dies with its holder, and the next run goes ahead.
TEST_F(KorvaneProgram, ARunThatCannotTakeTheLockChangesNothing) {
  const std::string lockPath = "c:\\program files\\worldcraft\\textures\\korvane.lock";
  struct Blocker {
    std::function<void()> make;
    std::string message;
  };
  int holder = -1;
  const std::vector<Blocker> blockers = {
      {[&holder] {
         holder = ::open(In("korvane.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
         ASSERT_EQ(::flock(holder, LOCK_EX), 0);
       },
       "korvane: Korvane is already converting this folder\n"},
      {[] { fs::create_directories(In("korvane.lock")); },
       "korvane: cannot lock " + lockPath + ": Is a directory.\n"},
      {[] { ASSERT_EQ(::mkfifo(In("korvane.lock").c_str(), 0600), 0); },
       "korvane: cannot lock " + lockPath + ": Permission denied.\n"},
  };
  WriteHostFile(In("good.wad"), QuakeWad(2));
  for (const Blocker& blocker : blockers) {
    WriteHostFile(In("error.log"), "the last run's log");
    blocker.make();

    const auto refused = Run();

    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(blocker.message), std::string::npos) << refused.err;
    EXPECT_EQ(ReadHostFile(In("error.log")), "the last run's log");
    EXPECT_FALSE(fs::exists(In("good.hlwad")));
    EXPECT_FALSE(fs::exists(In("2hlwad.bat")));
    ::close(holder);
    holder = -1;
    fs::remove_all(In("korvane.lock"));
  }

  const auto next = Run();
  EXPECT_EQ(next.exitCode, 0) << next.err;
  EXPECT_TRUE(fs::exists(In("good.hlwad")));
}

// Two Korvanes started together, as a double click does: one converts, the other leaves.
TEST_F(KorvaneProgram, TwoRunsStartedTogetherConvertOnce) {
  WriteHostFile(In("slow.wad"), QuakeWad(1));
  DropStandInConverter("sleep 1; cp \"$2\" slow.hlwad; echo converted");
  const std::string korvane = test_support::ShellWord(KORVANE_PROGRAM);
  const std::string script = "cd " + test_support::ShellWord(scratch_.string()) +
                             " || exit 1; export DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=; " +
                             korvane + " >one 2>&1 & one=$!; " + korvane + " >two 2>&1 & two=$!; " +
                             "wait $one; a=$?; wait $two; b=$?; echo \"$a $b\" > statuses";
  ASSERT_EQ(std::system(("sh -c " + test_support::ShellWord(script)).c_str()), 0);

  const std::string statuses = ReadHostFile(scratch_ / "statuses");
  EXPECT_TRUE(statuses == "0 1\n" || statuses == "1 0\n") << statuses;
  const std::string outputs = ReadHostFile(scratch_ / "one") + ReadHostFile(scratch_ / "two");
  EXPECT_NE(outputs.find("Korvane is already converting this folder"), std::string::npos)
      << outputs;
  EXPECT_TRUE(fs::exists(In("slow.hlwad")));
  EXPECT_TRUE(fs::exists(In("logs/slow.stmp")));
  EXPECT_TRUE(fs::exists(In("successful.log")));
}

// Korvane stopped in the middle of a batch, by each signal a user, a terminal or a time limit
// sends, and killed outright.
class StoppedKorvane : public KorvaneProgram, public ::testing::WithParamInterface<int> {
 protected:
  // The ids of every process of the batch, as the stand-in converter wrote them down.
  std::vector<pid_t> BatchProcesses() const {
    std::vector<pid_t> ids;
    std::istringstream listed(ReadHostFile(scratch_ / "pids"));
    for (pid_t id = 0; listed >> id;) {
      ids.push_back(id);
    }
    return ids;
  }

  bool AnyRuns(const std::vector<pid_t>& ids) const {
    return std::any_of(ids.begin(), ids.end(),
                       [](pid_t id) { return platform::ProcessIsRunning(id); });
  }

  // Waits until `done` holds, for at most `limit`.
  static bool Within(std::chrono::milliseconds limit, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) {
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }
};

TEST_P(StoppedKorvane, LeavesNothingRunningAndTheNextRunConvertsEveryWad) {
  const int signal = GetParam();
  for (const char* name : {"a.wad", "b.wad", "c.wad"}) {
    WriteHostFile(In(name), QuakeWad(2, name[0]));
  }
  // b.wad is slow, and its converter starts a process of its own that ignores SIGINT, as a
  // shell's background job does.
  const std::string pids = test_support::ShellWord((scratch_ / "pids").string());
  DropStandInConverter("echo $$ $PPID >> " + pids +
                       R"(; case "$2" in b.wad) echo part > b.hlwad.tmp; echo started; )"
                       "sleep 60 & echo $! >> " +
                       pids + "; wait ;; esac; exec wadconv \"$@\"");
  const pid_t korvane = test_support::StartProgram(
      scratch_, KORVANE_PROGRAM, {}, scratch_,
      {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});

  // The run log reaches standard output as it grows: the first progress dots are there while
  // the batch still works on b.wad.
  ASSERT_TRUE(Within(std::chrono::seconds(10), [&] {
    return BatchProcesses().size() == 5 &&
           ReadHostFile(scratch_ / "out").find("Beginning conversion .......") != std::string::npos;
  })) << ReadHostFile(scratch_ / "out");
  ASSERT_EQ(::kill(korvane, signal), 0);
  const auto stopped = test_support::FinishProgram(korvane, scratch_, std::chrono::seconds(10));

  EXPECT_EQ(stopped.exitCode, 128 + signal) << stopped.err;
  const std::vector<pid_t> batch = BatchProcesses();
  // The lock is free only once nothing of the batch runs, and that within 3 s.
  const int lock = ::open(In("korvane.lock").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(lock, 0);
  EXPECT_TRUE(
      Within(std::chrono::seconds(3), [&] { return ::flock(lock, LOCK_EX | LOCK_NB) == 0; }));
  EXPECT_FALSE(AnyRuns(batch));
  ::close(lock);

  if (signal != SIGKILL) {
    const std::string errorLog = ReadHostFile(In("error.log"));
    EXPECT_TRUE(std::regex_search(
        errorLog,
        std::regex(R"(Beginning conversion \.\.\.\.(\.\.\.)+\.\.\. STOPPED after 00:\d\d: )"
                   "Korvane received SIG" +
                   std::string(sigabbrev_np(signal)) + R"(\.\r\nConversion successful for )")))
        << errorLog;
    for (const char* hlwad : {"b.hlwad", "c.hlwad"}) {
      EXPECT_NE(errorLog.find(std::string(hlwad) +
                              " ... details ...\r\nNot converted because the run was stopped."),
                std::string::npos)
          << hlwad;
    }
    EXPECT_TRUE(
        stopped.out.ends_with("END OF DATA .. Log written to "
                              "c:\\program files\\worldcraft\\textures\\error.log\r\n"))
        << stopped.out;
    EXPECT_FALSE(fs::exists(In("b.hlwad.tmp")));
    EXPECT_FALSE(fs::exists(In("2hlwad.bat")));
  }

  fs::remove(In("wadconv.exe"));
  const auto next = Run();
  EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
  for (const char* stem : {"a", "b", "c"}) {
    EXPECT_EQ(ReadHostFile(In(std::string(stem) + ".hlwad")).substr(0, 4), "WAD3") << stem;
    EXPECT_TRUE(fs::exists(In("logs/" + std::string(stem) + ".stmp"))) << stem;
  }
  EXPECT_FALSE(fs::exists(In("b.hlwad.tmp")));
}

INSTANTIATE_TEST_SUITE_P(EachWayOfStopping, StoppedKorvane,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGKILL),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

// The four programs answer their command lines alike; none of these starts a run or touches a file.
TEST_F(KorvaneProgram, EveryProgramFollowsTheSameCommandLineRules) {
  const fs::path programs = fs::path(KORVANE_PROGRAM).parent_path();
  // wadconv writes everything on standard output, with the line ends of its reports.
  struct Program {
    fs::path path;
    std::string usage;
    bool errorsOnStandardOutput;
    std::string lineEnd;
  };
  const Program all[] = {
      {KORVANE_PROGRAM, "usage: korvane [-h | --help | --version]", false, "\n"},
      {PELLISK_PROGRAM, "usage: pellisk MAPFILE", false, "\n"},
      {programs / "wadconv", "usage: wadconv -wad2hl NAME", true, "\r\n"},
      {programs / "korvane-cmd", "usage: korvane-cmd BATCHFILE", false, "\n"},
  };
  for (const Program& program : all) {
    const std::string name = program.path.filename().string();
    for (const char* help : {"-h", "--help"}) {
      const auto run = Run({help}, {}, program.path);
      EXPECT_EQ(run.exitCode, 0) << name;
      EXPECT_TRUE(run.out.starts_with(program.usage + program.lineEnd)) << run.out;
    }
    const auto version = Run({"--version"}, {}, program.path);
    EXPECT_EQ(version.out, name + " " + KORVANE_VERSION + program.lineEnd);
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"-x"}, {"--help", "--version"}}) {
      const auto run = Run(wrong, {}, program.path);
      EXPECT_EQ(run.exitCode, 2) << name << " " << wrong.front();
      const std::string said = program.errorsOnStandardOutput ? run.out : run.err;
      const std::string marker = program.errorsOnStandardOutput ? "** ERROR ** " : "";
      const std::string problem =
          wrong.size() == 1 ? "unknown option '-x'" : "'--help' takes nothing after it";
      EXPECT_EQ(said,
                marker + name + ": " + problem + program.lineEnd + program.usage + program.lineEnd);
    }
  }
  // What each program takes besides the options.
  const auto korvane = Run({"textures"});
  EXPECT_EQ(korvane.exitCode, 2);
  EXPECT_EQ(korvane.err, "korvane: unexpected argument 'textures'\n" + all[0].usage + "\n");
  const auto converter = Run({"metal.wad"}, {}, all[2].path);
  EXPECT_EQ(converter.exitCode, 2);
  EXPECT_TRUE(converter.out.starts_with("** ERROR ** wadconv: expected -wad2hl")) << converter.out;
  const auto batch = Run({}, {}, all[3].path);
  EXPECT_EQ(batch.exitCode, 2);
  EXPECT_EQ(batch.err, "korvane-cmd: no batch file named\n" + all[3].usage + "\n");
  EXPECT_FALSE(fs::exists(In("successful.log")));

  // On a terminal lines end in LF: korvane's run log and wadconv's report.
  const std::string onTerminal = "stty -onlcr; " + test_support::ShellWord(KORVANE_PROGRAM) + "; " +
                                 test_support::ShellWord(all[2].path.string()) +
                                 " -wad2hl missing.wad";
  const auto terminal = Run({"-qec", onTerminal, "/dev/null"}, {}, "script");
  EXPECT_NE(terminal.out.find("Everything up to date!\n"), std::string::npos) << terminal.out;
  EXPECT_NE(terminal.out.find("** ERROR ** cannot read"), std::string::npos) << terminal.out;
  EXPECT_EQ(terminal.out.find('\r'), std::string::npos) << terminal.out;
}

// korvane --help says where the texture folder is on this machine and what chooses it.
TEST_F(KorvaneProgram, HelpNamesTheTextureFolderOfThisMachine) {
  const auto help = Run({"--help"});
  EXPECT_NE(
      help.out.find("The texture folder on this machine:\n  " + TextureFolder().string() + "\n"),
      std::string::npos)
      << help.out;
  EXPECT_NE(help.out.find("(from WINEPREFIX).\nWINEPREFIX chooses the Wine prefix"),
            std::string::npos)
      << help.out;
}

// The lines of the first fenced block after `marker` in a Markdown text.
std::string FencedBlockAfter(const std::string& text, const std::string& marker) {
  const std::size_t at = text.find("```\n", text.find(marker));
  const std::size_t end = text.find("```", at + 4);
  return at == std::string::npos || end == std::string::npos ? ""
                                                             : text.substr(at + 4, end - at - 4);
}

// The example blocks of a manual page's source, as a shell reads them.
std::vector<std::string> ManualExamples(const std::string& page) {
  const std::string source = ReadHostFile(fs::path(KORVANE_SOURCE_DIR) / "man" / page);
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
  const std::string readme = FencedBlockAfter(
      ReadHostFile(fs::path(KORVANE_SOURCE_DIR) / "README.md"), "<!-- x86 fix -->");
  ASSERT_NE(readme.find("ln -s"), std::string::npos) << readme;
  const std::vector<std::string> manual = ManualExamples("korvane.1");
  EXPECT_NE(std::find(manual.begin(), manual.end(), readme), manual.end()) << readme;
  // The package's README and the ZIP's readme (a Windows text file, CR LF) give the same lines,
  // indented.
  for (const char* other : {"packaging/debian/README", "packaging/readme-windows.txt"}) {
    const std::string text = ReadHostFile(fs::path(KORVANE_SOURCE_DIR) / other);
    std::istringstream lines(readme);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_TRUE(text.find(line + "\n") != std::string::npos ||
                  text.find(line + "\r\n") != std::string::npos)
          << other << ": " << line;
    }
  }

  const fs::path driveC = driver_testing::DriveC();
  for (const bool wineboot : {true, false}) {
    for (const bool fromReadme : {true, false}) {
      fs::remove_all(driveC);
      if (wineboot) {
        fs::create_directories(driveC / "Program Files");
      }
      fs::create_directories(driveC / "Program Files (x86)" / "worldcraft" / "textures");

      const auto before = Run();
      EXPECT_EQ(before.exitCode, 1);
      const std::string lead = "make the fixed folder reach it with ";
      const std::size_t at = before.err.find(lead);
      ASSERT_NE(at, std::string::npos) << before.err;
      const std::string suggested =
          before.err.substr(at + lead.size(), before.err.rfind(".\n") - at - lead.size());
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
  const std::string script = "cd " + test_support::ShellWord(scratch_.string()) +
                             " && PATH=" + test_support::ShellWord(path) + " && " + examples[0];
  ASSERT_EQ(std::system(("sh -e -c " + test_support::ShellWord(script) + " >/dev/null").c_str()),
            0);
  EXPECT_EQ(ReadHostFile(scratch_ / "metal.hlwad").substr(0, 4), "WAD3");
  EXPECT_NE(ReadHostFile(scratch_ / "logs" / "metal.log").find("Wrote \"metal.hlwad\""),
            std::string::npos);
}

// Every manual page reads as written: no line of text starts with a control character, and the
// phrases that roff once ate come out whole.
TEST_F(KorvaneProgram, ManualPagesShowTheirTextWhole) {
  const std::string macros = " TH SH SS PP TP IP B I BR RB IR RI RS RE EX EE br MT ME ";
  const std::pair<const char*, std::vector<std::string>> pages[] = {
      {"korvane.1",
       {"mkdir -p \"$c/Program Files\"", "texture folder of this machine", "-h, --help"}},
      {"pellisk.1", {"a name without a dot gets .map.", "as in ./-old.map."}},
      {"wadconv.1", {"up to its last dot. The option", "-wad2hl NAME"}},
      {"korvane-cmd.1", {"korvane-cmd convert.bat", "logs\\\\metal.log"}},
  };
  for (const auto& [page, phrases] : pages) {
    const fs::path source = fs::path(KORVANE_SOURCE_DIR) / "man" / page;
    std::istringstream lines(ReadHostFile(source));
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("'") ||
          (line.starts_with(".") &&
           macros.find(" " + line.substr(1, line.find(' ') - 1) + " ") == std::string::npos)) {
        ADD_FAILURE() << page << ": " << line;
      }
    }
    const auto shown = test_support::RunProgram(
        scratch_, "groff", {"-man", "-Tascii", "-P-cbou", "-rLL=400n", "-rHY=0", source.string()},
        scratch_);
    if (shown.exitCode == 127) {
      GTEST_SKIP() << "groff is not installed";
    }
    // The text as one line, every run of spaces and line breaks one space.
    std::string text;
    for (const char c : shown.out) {
      if (c != ' ' && c != '\n') {
        text += c;
      } else if (!text.empty() && text.back() != ' ') {
        text += ' ';
      }
    }
    for (const std::string& phrase : phrases) {
      EXPECT_NE(text.find(phrase), std::string::npos) << page << ": " << phrase;
    }
  }
}

// A texture folder as a stranger's pack could leave it: names that a command interpreter reads as
// several lines or as its own syntax, links at every name the run writes that point outside, a FIFO
// and a folder named like WADs. The run ends by itself, runs no command but the converter, changes
// nothing outside the folder, and every stamp stands for a real HL WAD of the stamped length.
TEST_F(KorvaneProgram, HostilePackChangesNothingOutsideAndStampsOnlyRealConversions) {
  const fs::path outside = scratch_ / "outside";
  fs::create_directories(outside);
  const fs::path spy = scratch_ / "spy";
  fs::create_directories(spy);
  WriteHostFile(spy / "touch", "#!/bin/sh\necho \"$@\" >> '" + (outside / "ran").string() + "'\n");
  fs::permissions(spy / "touch", fs::perms::owner_all);

  for (const char* name : {"a\ntouch PWNED\nb.wad", "c\rtouch PWNED.wad", "q\"uote.wad",
                           "tab\t.wad", "trailing.wad ", "100%.wad", "a&b.wad", "c^d.wad"}) {
    WriteHostFile(In(name), QuakeWad(1));
  }
  ASSERT_EQ(::mkfifo(In("pipe.wad").c_str(), 0600), 0);
  fs::create_directories(In("folder.wad"));
  fs::create_directories(In("logs"));
  std::vector<std::pair<fs::path, fs::path>> links;
  for (const char* written :
       {"2hlwad.bat", "error.log", "successful.log", "100%.hlwad", "100%.hlwad.tmp",
        "logs/100%.log", "logs/100%.stmp", "a&b.hlwad", "logs/a&b.log", "logs/a&b.stmp"}) {
    const fs::path target = outside / ("victim-" + std::to_string(links.size()));
    WriteHostFile(target, "the user's own file");
    fs::create_symlink(target, In(written));
    links.emplace_back(In(written), target);
  }

  const std::string path = spy.string() + ":" + std::getenv("PATH");
  const auto run = Run({}, {{"PATH", path}});

  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_FALSE(fs::exists(outside / "ran")) << ReadHostFile(outside / "ran");
  for (const auto& [link, target] : links) {
    EXPECT_EQ(ReadHostFile(target), "the user's own file") << link;
  }
  EXPECT_NE(run.out.find("Number of Quake WADS found = 3"), std::string::npos) << run.out;
  int stamps = 0;
  for (const auto& entry : fs::directory_iterator(In("logs"))) {
    if (entry.path().extension() != ".stmp" || fs::is_symlink(entry.path())) {
      continue;
    }
    ++stamps;
    const std::string stamp = ReadHostFile(entry.path());
    ASSERT_EQ(stamp.size(), 224u);
    const fs::path hlwad = In(entry.path().stem().string() + ".hlwad");
    const std::string converted = ReadHostFile(hlwad);
    EXPECT_EQ(converted.substr(0, 4), "WAD3") << hlwad;
    EXPECT_FALSE(fs::is_symlink(hlwad));
    std::uint32_t length = 0;
    for (int i = 3; i >= 0; --i) {
      length = length << 8 | static_cast<unsigned char>(stamp[220 + static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(length, converted.size()) << hlwad;
  }
  EXPECT_EQ(stamps, 3);
}

}  // namespace
