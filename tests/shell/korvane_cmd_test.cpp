// The real korvane-cmd on batch files in a temporary WINEPREFIX, with stand-in programs (shell
// scripts) that record their arguments and current folder: what only real processes, real folders
// and the command line show.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/process_status.h"
#include "platform/platform.h"
#include "platform/posix/run_program.h"
#include "tests/support/environment.h"
#include "tests/support/host_files.h"
#include "tests/support/process_wait.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

using test_support::ReadHostFile;
using test_support::WriteHostFile;
const std::string kEnter = "c:\r\ncd c:\\program files\\worldcraft\\textures\r\n";
const std::string kQuotedFolder = "\"c:\\program files\\worldcraft\\textures\\";

class KorvaneCmd : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Textures() / "Logs");
    test_support::SetEnvironment("WINEPREFIX", (root_ / "prefix").string());
  }

  fs::path Textures() const { return root_ / "prefix/drive_c/Program Files/Worldcraft/Textures"; }
  fs::path Record() const { return root_ / "record.txt"; }

  // A program in Textures that appends "LABEL in FOLDER [ARGUMENT]..." as a line to the record,
  // then runs the shell commands `then`.
  void WriteStandIn(const std::string& name, const std::string& label,
                    const std::string& then) const {
    WriteHostFile(Textures() / name, "#!/bin/sh\n{ printf '%s in %s ' '" + label +
                                         "' \"$(pwd -P)\"; printf '[%s]' \"$@\"; echo; } >> '" +
                                         Record().string() + "'\n" + then + "\n");
    fs::permissions(Textures() / name, fs::perms::owner_all, fs::perm_options::add);
  }
  std::string Ran(const std::string& label, const std::string& arguments) const {
    return label + " in " + Textures().string() + " " + arguments + "\n";
  }

  test_support::ProgramRun Run(const std::vector<std::string>& arguments) const {
    return test_support::RunProgram(root_, platform::posix::RunningProgramFolder() + "/korvane-cmd",
                                    arguments, scratch_.path(), {{"PATH", "/nowhere"}});
  }

  const test_support::TemporaryFolder folder_;
  const test_support::TemporaryFolder scratch_;
  // Resolved, as the stand-ins see their current folder.
  const fs::path root_ = fs::canonical(folder_.path());
};

// A batch file it cannot read ends it with 1, and no batch file at all with 2.
TEST_F(KorvaneCmd, RunsEachProgramToItsEndWithItsArgumentsWholeAndItsOutputWhereItIsSent) {
  WriteStandIn("wadconv.exe", "wadconv", "echo converted");
  WriteStandIn("My Tool", "tool", "echo to the console; exit 3");
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

  const test_support::ProgramRun run = Run({kQuotedFolder + "test.bat\""});

  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "The system cannot find the drive specified.\r\n"
            "The system cannot find the path specified.\r\n"
            "to the console\nThe system cannot find the path specified.\r\n");
  EXPECT_EQ(ReadHostFile(Record()),
            Ran("wadconv", "[-wad2hl][Base.wad]") + Ran("tool", "[Rock & Roll 100%.wad][]") +
                Ran("tool", "[a]") + Ran("wadconv", "[-wad2hl][castle.wad]"));
  // An existing case variant of the log is emptied and reused; a new log gets the name as written.
  EXPECT_EQ(test_support::FolderContents(Textures() / "Logs"),
            (std::map<std::string, std::string>{{"BASE.LOG", "converted\n"},
                                                {"castle.log", "converted\n"},
                                                {"rock & roll.log", "to the console\n"}}));
  EXPECT_FALSE(fs::exists(Textures() / "nowhere"));

  const test_support::ProgramRun missing = Run({"c:\\missing.bat"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("c:\\missing.bat"), std::string::npos) << missing.err;
  EXPECT_EQ(Run({}).exitCode, 2);
}

TEST_F(KorvaneCmd, ABatchStartedThroughThePlatformRunsUntilItsLastLine) {
  WriteStandIn("slow.exe", "slow", "sleep 0.3");
  WriteHostFile(Textures() / "2hlwad.bat",
                kEnter + "slow.exe Base.wad>logs\\base.log\r\nslow.exe castle.wad\r\nexit\r\n");
  std::int32_t processId = 0;
  ASSERT_EQ(platform::StartProcess(kQuotedFolder + "2hlwad.bat\"", processId), 0);
  ASSERT_NE(processId, 0);
  EXPECT_EQ(core::IsProcessRunning(processId), -1);
  ASSERT_TRUE(test_support::EndsWithin(processId, std::chrono::seconds(20)));
  EXPECT_EQ(core::IsProcessRunning(processId), 0);
  EXPECT_EQ(ReadHostFile(Record()), Ran("slow", "[Base.wad]") + Ran("slow", "[castle.wad]"));
}

}  // namespace
