// The real korvane-cmd on batch files in a temporary WINEPREFIX, with stand-in programs (shell
// scripts) that record their arguments and current folder.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "core/process_status.h"
#include "platform/platform.h"
#include "platform/posix/run_program.h"
#include "tests/support/host_files.h"

namespace {

namespace fs = std::filesystem;

const std::string kNotRecognized =
    "' is not recognized as an internal or external command, operable program or batch file.\r\n";

using test_support::ReadHostFile;
using test_support::WriteHostFile;

struct Outcome {
  int status = -1;  // as std::system reports it; 0 for exit code 0
  std::string output;
};

class KorvaneCmd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("shell-tests-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(Textures() / "Logs");
    fs::create_directories(Bin());
    root_ = fs::canonical(root_);
    setenv("WINEPREFIX", (root_ / "prefix").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path Textures() const { return root_ / "prefix/drive_c/Program Files/Worldcraft/Textures"; }
  // The only PATH folder the interpreter sees, unless a test gives another.
  fs::path Bin() const { return root_ / "bin"; }
  fs::path Record() const { return root_ / "record.txt"; }

  // A program that appends "LABEL in FOLDER" and its arguments, one "[...]" a line, to the record,
  // prints `output` and ends with `exitCode`.
  void WriteStandIn(const fs::path& file, const std::string& label, const std::string& output = "",
                    int exitCode = 0) const {
    WriteHostFile(file, "#!/bin/sh\n{ printf '%s in %s\\n' '" + label +
                            "' \"$(pwd -P)\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } "
                            ">> '" +
                            Record().string() + "'\nprintf '%s' '" + output + "'\nexit " +
                            std::to_string(exitCode) + "\n");
    fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);
  }

  std::string Ran(const std::string& label, const std::vector<std::string>& arguments) const {
    std::string record = label + " in " + Textures().string() + "\n";
    for (const std::string& argument : arguments) {
      record += "[" + argument + "]\n";
    }
    return record;
  }

  // Runs `interpreter` (korvane-cmd beside this test by default) on the batch argument, with PATH
  // set to `path`.
  Outcome Run(const std::string& batchArgument, const std::string& path = "",
              const fs::path& interpreter = {}) const {
    const fs::path program = interpreter.empty()
                                 ? fs::path(platform::posix::RunningProgramFolder()) / "korvane-cmd"
                                 : interpreter;
    const fs::path output = root_ / "stdout.txt";
    const std::string command = "env PATH='" + (path.empty() ? Bin().string() : path) + "' '" +
                                program.string() + "' '" + batchArgument + "' >'" +
                                output.string() + "'";
    Outcome outcome;
    outcome.status = std::system(command.c_str());
    outcome.output = ReadHostFile(output);
    return outcome;
  }

  // Writes the batch into the texture folder and runs it by its Windows path.
  Outcome RunBatch(const std::string& text, const std::string& path = "") const {
    WriteHostFile(Textures() / "Test.bat", text);
    return Run("\"c:\\program files\\worldcraft\\textures\\test.bat\"", path);
  }

  fs::path root_;
};

const std::string kEnter = "c:\r\ncd c:\\program files\\worldcraft\\textures\r\n";

TEST_F(KorvaneCmd, RunsTheDriversBatchForTwoWadsInTheCapitalisedTextureFolder) {
  WriteStandIn(Textures() / "wadconv.exe", "wadconv", "converted\n");
  WriteHostFile(Textures() / "Logs" / "BASE.LOG",
                "an old log that is much longer than the new one");
  const Outcome outcome = RunBatch(
      "c:\r\ncd c:\\program files\\worldcraft\\textures\r\nwadconv.exe -wad2hl "
      "Base.wad>logs\\base.log\r\nwadconv.exe -wad2hl castle.wad>logs\\castle.log\r\nexit\r\n");

  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(ReadHostFile(Record()),
            Ran("wadconv", {"-wad2hl", "Base.wad"}) + Ran("wadconv", {"-wad2hl", "castle.wad"}));
  // An existing case variant of the log is emptied and reused; a new log gets the name as written.
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "BASE.LOG"), "converted\n");
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "castle.log"), "converted\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(Textures() / "Logs"), fs::directory_iterator()),
            2);
}

TEST_F(KorvaneCmd, PassesQuotedNamesWithSpacesAmpersandsAndPercentsWhole) {
  WriteStandIn(Textures() / "My Tool.exe", "tool", "done\n");
  const Outcome outcome = RunBatch(kEnter +
                                   "\"my tool.exe\" -wad2hl \"Rock & Roll 100%%.wad\" \"a>b\" "
                                   "\"\">\"logs\\rock & roll 100%%.log\"\r\nexit\r\n");

  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(ReadHostFile(Record()), Ran("tool", {"-wad2hl", "Rock & Roll 100%.wad", "a>b", ""}));
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "rock & roll 100%.log"), "done\n");
}

TEST_F(KorvaneCmd, WithoutARedirectTheOutputIsTheInterpretersOwn) {
  WriteStandIn(Textures() / "tool", "tool", "to the console\n");
  const Outcome outcome = RunBatch(kEnter + "tool.exe a\r\ncd\r\n");

  EXPECT_EQ(outcome.output, "to the console\nC:\\Program Files\\Worldcraft\\Textures\r\n");
  EXPECT_EQ(ReadHostFile(Record()), Ran("tool", {"a"}));
}

TEST_F(KorvaneCmd, LinesThatCannotRunExplainThemselvesAndTheBatchGoesOn) {
  WriteStandIn(Textures() / "tool", "tool");
  const Outcome outcome = RunBatch("q:\r\n" + kEnter +
                                   "cd no such folder\r\n"
                                   "missing.exe -x>logs\\missing.log\r\n"
                                   "missing.exe -y\r\n"
                                   "tool redirected>nowhere\\out.log\r\n"
                                   "tool >\r\n"
                                   "tool last\r\n");

  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output,
            "The system cannot find the drive specified.\r\n"
            "The system cannot find the path specified.\r\n"
            "'missing.exe" +
                kNotRecognized +
                "The system cannot find the path specified.\r\n"
                "The syntax of the command is incorrect.\r\n");
  // The redirect target is made before the program is looked for, so it holds the explanation.
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "missing.log"), "'missing.exe" + kNotRecognized);
  EXPECT_FALSE(fs::exists(Textures() / "nowhere"));
  EXPECT_EQ(ReadHostFile(Record()), Ran("tool", {"last"}));
}

TEST_F(KorvaneCmd, AFailingProgramIsWaitedForAndTheNextLineRuns) {
  WriteStandIn(Textures() / "wadconv.exe", "failing", "** ERROR ** bad WAD\n", 3);
  WriteStandIn(Textures() / "next.exe", "next");
  const Outcome outcome =
      RunBatch(kEnter + "wadconv.exe -wad2hl a.wad>logs\\a.log\r\nnext.exe\r\nexit\r\n");

  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "a.log"), "** ERROR ** bad WAD\n");
  EXPECT_EQ(ReadHostFile(Record()), Ran("failing", {"-wad2hl", "a.wad"}) + Ran("next", {}));
}

TEST_F(KorvaneCmd, ExitEndsTheBatchAndTheEndOfTheFileDoesToo) {
  WriteStandIn(Textures() / "tool", "tool");
  EXPECT_EQ(RunBatch(kEnter + "tool 1\r\nEXIT\r\ntool 2\r\n").status, 0);
  EXPECT_EQ(ReadHostFile(Record()), Ran("tool", {"1"}));

  fs::remove(Record());
  const Outcome outcome =
      RunBatch("c:\ncd \\Program Files\\WORLDCRAFT\\textures\n\ntool 3\ntool 4");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(ReadHostFile(Record()), Ran("tool", {"3"}) + Ran("tool", {"4"}));
}

TEST_F(KorvaneCmd, LooksInTheCurrentFolderThenItsOwnFolderThenPath) {
  const fs::path own = root_ / "own";
  fs::create_directories(own);
  fs::copy_file(fs::path(platform::posix::RunningProgramFolder()) / "korvane-cmd",
                own / "korvane-cmd");
  WriteStandIn(own / "tool", "own");
  WriteStandIn(Bin() / "tool.exe", "path");
  WriteStandIn(Bin() / "other", "other");
  WriteHostFile(Textures() / "run.bat", kEnter + "tool.exe\r\nother.exe\r\n");
  const std::string batch = "c:\\program files\\worldcraft\\textures\\run.bat";

  EXPECT_EQ(Run(batch, "", own / "korvane-cmd").status, 0);
  EXPECT_EQ(ReadHostFile(Record()), Ran("own", {}) + Ran("other", {}));

  fs::remove(Record());
  WriteStandIn(Textures() / "TOOL.EXE", "current");
  Run(batch, "", own / "korvane-cmd");
  EXPECT_EQ(ReadHostFile(Record()), Ran("current", {}) + Ran("other", {}));
}

TEST_F(KorvaneCmd, AWindowsProgramRunsThroughWineOnlyWhenWineIsOnPath) {
  WriteHostFile(Textures() / "Win.exe", "MZ\x90");
  fs::permissions(Textures() / "Win.exe", fs::perms::owner_all, fs::perm_options::add);
  const std::string batch = kEnter + "win.exe -wad2hl a.wad>logs\\a.log\r\n";

  RunBatch(batch);
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "a.log"),
            "'win.exe' is a Windows program, and wine is not on PATH to run it.\r\n");
  EXPECT_EQ(ReadHostFile(Record()), "<missing>");

  WriteStandIn(Bin() / "wine", "wine", "wine ran\n");
  RunBatch(batch);
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "a.log"), "wine ran\n");
  EXPECT_EQ(ReadHostFile(Record()),
            Ran("wine", {(Textures() / "Win.exe").string(), "-wad2hl", "a.wad"}));
}

TEST_F(KorvaneCmd, ABatchStartedThroughThePlatformRunsUntilItsLastLine) {
  WriteHostFile(Textures() / "slow.exe", "#!/bin/sh\nsleep 0.3\nprintf 'done %s\\n' \"$1\" >> '" +
                                             Record().string() + "'\n");
  fs::permissions(Textures() / "slow.exe", fs::perms::owner_all, fs::perm_options::add);
  WriteHostFile(
      Textures() / "2hlwad.bat",
      kEnter +
          "slow.exe Base.wad>logs\\base.log\r\nslow.exe castle.wad>logs\\castle.log\r\nexit\r\n");

  std::int32_t processId = 0;
  ASSERT_EQ(
      platform::StartProcess("\"c:\\program files\\worldcraft\\textures\\2hlwad.bat\"", processId),
      0);
  ASSERT_NE(processId, 0);
  EXPECT_EQ(core::IsProcessRunning(processId), -1);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (core::IsProcessRunning(processId) == -1 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(core::IsProcessRunning(processId), 0);
  EXPECT_EQ(ReadHostFile(Record()), "done Base.wad\ndone castle.wad\n");
  EXPECT_TRUE(fs::exists(Textures() / "Logs" / "castle.log"));
}

}  // namespace
