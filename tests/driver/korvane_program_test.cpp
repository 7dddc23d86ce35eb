// The korvane program as a user starts it from a terminal: its command line, its exit statuses,
// and its runs where no display can be opened.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/driver/run_folder.h"
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
                               std::vector<std::pair<std::string, std::string>> environment = {}) {
    environment.insert(environment.begin(),
                       {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
    return test_support::RunProgram(scratch_, KORVANE_PROGRAM, arguments, scratch_, environment);
  }

  static fs::path In(const std::string& name) { return TextureFolder() / name; }

  fs::path scratch_;
};

TEST_F(KorvaneProgram, WithoutDisplayNothingToDoEndsWithStatusZero) {
  const auto run = Run();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "No WADs require conversion.  Everything up to date!\n");
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
  EXPECT_EQ(again.out, ReadHostFile(In("successful.log")) + "\n");
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

TEST_F(KorvaneProgram, ASecondRunOnTheSameFolderChangesNothing) {
  WriteHostFile(In("good.wad"), QuakeWad(2));
  WriteHostFile(In("error.log"), "the last run's log");
  const int holder = ::open(In("korvane.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);

  const auto refused = Run();
  ::close(holder);

  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("korvane: Korvane is already converting this folder\n"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadHostFile(In("error.log")), "the last run's log");
  EXPECT_FALSE(fs::exists(In("good.hlwad")));
  EXPECT_FALSE(fs::exists(In("2hlwad.bat")));

  // The lock dies with its holder: the next run goes ahead.
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

TEST_F(KorvaneProgram, HelpVersionAndWrongArgumentsStartNoRun) {
  const auto help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.starts_with("usage: korvane")) << help.out;
  const auto version = Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(version.out.starts_with("korvane ")) << version.out;
  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"--bogus"}, {"--help", "--version"}, {"textures"}}) {
    const auto run = Run(wrong);
    EXPECT_EQ(run.exitCode, 2) << wrong.front();
    EXPECT_TRUE(run.err.starts_with("usage: korvane")) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_FALSE(fs::exists(In("successful.log")));
}

TEST_F(KorvaneProgram, MissingPrefixSaysWhereItLooked) {
  const fs::path nowhere = scratch_ / "no-such-prefix";

  const auto run = Run({}, {{"WINEPREFIX", nowhere.string()}});

  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("in the Wine prefix " + nowhere.string() +
                         " (from WINEPREFIX), which does not exist"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("expects a Wine prefix with the editor"), std::string::npos) << run.err;
}

TEST_F(KorvaneProgram, EditorUnderProgramFilesX86IsPointedOut) {
  fs::remove_all(driver_testing::DriveC() / "program files");
  fs::create_directories(driver_testing::DriveC() / "Program Files (x86)" / "Worldcraft");

  const auto run = Run();

  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("It looked for " +
                         (driver_testing::DriveC() / "program files/worldcraft/textures").string()),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("installed under c:\\program files (x86)\\worldcraft; make the fixed "
                         "folder reach it with ln -s '" +
                         (driver_testing::DriveC() / "Program Files (x86)/Worldcraft").string()),
            std::string::npos)
      << run.err;
  fs::remove_all(driver_testing::DriveC() / "Program Files (x86)");
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
