// The real korvane-cmd on batch files in a temporary WINEPREFIX, with stand-in programs (shell
// scripts) that record their arguments and current folder: what only real processes, real folders
// and the command line show.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/process_status.h"
#include "platform/platform.h"
#include "platform/posix/run_program.h"
#include "tests/support/environment.h"
#include "tests/support/host_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

using test_support::ReadHostFile;
using test_support::WriteHostFile;

const std::string kEnter = "c:\r\ncd c:\\program files\\worldcraft\\textures\r\n";
const std::string kBatch = "c:\\program files\\worldcraft\\textures\\test.bat";

class KorvaneCmd : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Textures() / "Logs");
    fs::create_directories(root_ / "bin");
    test_support::SetEnvironment("WINEPREFIX", (root_ / "prefix").string());
  }

  fs::path Textures() const { return root_ / "prefix/drive_c/Program Files/Worldcraft/Textures"; }
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

  // Runs `interpreter` (korvane-cmd beside this test by default) with the batch argument words,
  // with only the test's own bin folder on PATH.
  test_support::ProgramRun Run(const std::vector<std::string>& arguments,
                               const fs::path& interpreter = {}) const {
    return test_support::RunProgram(
        root_,
        interpreter.empty() ? platform::posix::RunningProgramFolder() + "/korvane-cmd"
                            : interpreter.string(),
        arguments, scratch_.path(), {{"PATH", (root_ / "bin").string()}});
  }

  const test_support::TemporaryFolder folder_;
  const test_support::TemporaryFolder scratch_;
  // Resolved, as the stand-ins see their current folder.
  const fs::path root_ = fs::canonical(folder_.path());
};

TEST_F(KorvaneCmd, RunsEachProgramToItsEndWithItsArgumentsWholeAndItsOutputWhereItIsSent) {
  WriteStandIn(Textures() / "wadconv.exe", "wadconv", "converted\n");
  WriteStandIn(Textures() / "My Tool.exe", "tool", "to the console\n", 3);
  WriteHostFile(Textures() / "Logs" / "BASE.LOG",
                "an old log that is much longer than the new one");
  WriteHostFile(Textures() / "test.bat",
                "q:\r\n" + kEnter +
                    "cd no such folder\r\n"
                    "wadconv.exe -wad2hl Base.wad>logs\\base.log\r\n"
                    "\"my tool.exe\" \"Rock & Roll 100%%.wad\" \"\">\"logs\\rock & roll.log\"\r\n"
                    "\"my tool.exe\" a\r\n"
                    "wadconv.exe -wad2hl castle.wad>nowhere\\castle.log\r\n"
                    "wadconv.exe -wad2hl castle.wad>logs\\castle.log\r\nexit\r\n");

  const test_support::ProgramRun run = Run({"\"" + kBatch + "\""});

  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "The system cannot find the drive specified.\r\n"
            "The system cannot find the path specified.\r\n"
            "to the console\nThe system cannot find the path specified.\r\n");
  EXPECT_EQ(ReadHostFile(Record()),
            Ran("wadconv", {"-wad2hl", "Base.wad"}) + Ran("tool", {"Rock & Roll 100%.wad", ""}) +
                Ran("tool", {"a"}) + Ran("wadconv", {"-wad2hl", "castle.wad"}));
  // An existing case variant of the log is emptied and reused; a new log gets the name as written.
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "BASE.LOG"), "converted\n");
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "rock & roll.log"), "to the console\n");
  EXPECT_EQ(ReadHostFile(Textures() / "Logs" / "castle.log"), "converted\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(Textures() / "Logs"), fs::directory_iterator()),
            3);
  EXPECT_FALSE(fs::exists(Textures() / "nowhere"));
}

TEST_F(KorvaneCmd, ExitsWithOneForABatchItCannotReadAndTwoWithoutOne) {
  const test_support::ProgramRun missing = Run({"c:\\missing.bat"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("c:\\missing.bat"), std::string::npos) << missing.err;
  EXPECT_EQ(Run({}).exitCode, 2);
}

TEST_F(KorvaneCmd, LooksInTheCurrentFolderThenItsOwnFolderThenPath) {
  const fs::path own = root_ / "own";
  fs::create_directories(own);
  fs::copy_file(platform::posix::RunningProgramFolder() + "/korvane-cmd", own / "korvane-cmd");
  WriteStandIn(own / "tool", "own");
  WriteStandIn(root_ / "bin" / "tool.exe", "path");
  WriteStandIn(root_ / "bin" / "other", "other");
  WriteHostFile(Textures() / "test.bat", kEnter + "tool.exe\r\nother.exe\r\n");

  EXPECT_EQ(Run({kBatch}, own / "korvane-cmd").exitCode, 0);
  EXPECT_EQ(ReadHostFile(Record()), Ran("own", {}) + Ran("other", {}));

  fs::remove(Record());
  WriteStandIn(Textures() / "TOOL.EXE", "current");
  Run({kBatch}, own / "korvane-cmd");
  EXPECT_EQ(ReadHostFile(Record()), Ran("current", {}) + Ran("other", {}));
}

TEST_F(KorvaneCmd, ABatchStartedThroughThePlatformRunsUntilItsLastLine) {
  WriteHostFile(Textures() / "slow.exe", "#!/bin/sh\nsleep 0.3\nprintf 'done %s\\n' \"$1\" >> '" +
                                             Record().string() + "'\n");
  fs::permissions(Textures() / "slow.exe", fs::perms::owner_all, fs::perm_options::add);
  WriteHostFile(Textures() / "2hlwad.bat",
                kEnter + "slow.exe Base.wad>logs\\base.log\r\nslow.exe castle.wad\r\nexit\r\n");

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
}

}  // namespace
