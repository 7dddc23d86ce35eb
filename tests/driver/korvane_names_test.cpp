// WADs named in any script, converted by the korvane program as a user starts it: through its
// command interpreter (cmd.exe on Windows, korvane-cmd elsewhere) and the real converter.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/driver/run_folder.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using driver_testing::QuakeWad;
using driver_testing::ReadHostFile;
using driver_testing::TextureFolder;
using driver_testing::WriteHostFile;

const std::string kFolder = "c:\\program files\\worldcraft\\textures\\";

// The host path of `name` (UTF-8) in the texture folder.
fs::path In(const std::string& name) {
  return TextureFolder() / fs::path(std::u8string(name.begin(), name.end()));
}

// Korvane without a display, where it prints the run log instead of showing its window.
test_support::ProgramRun RunKorvane(const fs::path& scratch) {
  return test_support::RunProgram(
      scratch, KORVANE_PROGRAM, {}, scratch,
      {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
}

TEST(KorvaneNames, WadsNamedInAnyScriptConvertAndAreStamped) {
  fs::remove_all(TextureFolder());
  // Stems as written, and as the driver spells its own files (A to Z lower-cased).
  const struct {
    std::string stem;
    std::string lower;
  } wads[] = {
      {"Ch\u00e2teau", "ch\u00e2teau"},
      {"Preis_\u20ac", "preis_\u20ac"},
      {"\u0414\u043e\u043c", "\u0414\u043e\u043c"},
      {"\u30c6\u30af\u30b9\u30c1\u30e3", "\u30c6\u30af\u30b9\u30c1\u30e3"},
  };
  for (const auto& wad : wads) {
    WriteHostFile(In(wad.stem + ".wad"), QuakeWad(2));
  }
  const test_support::TemporaryFolder scratch("korvane-names");

  const auto run = RunKorvane(scratch.path());

  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  const std::string runLog = ReadHostFile(In("successful.log"));
  EXPECT_NE(runLog.find("Number of WADs to Convert  = 4"), std::string::npos) << runLog;
  for (const auto& wad : wads) {
    EXPECT_NE(runLog.find("Conversion successful for " + kFolder + wad.lower + ".hlwad\r\n"),
              std::string::npos)
        << wad.stem << "\n"
        << runLog;
    EXPECT_EQ(fs::file_size(In("logs/" + wad.lower + ".stmp")), 224u) << wad.stem;
    EXPECT_FALSE(fs::exists(In("logs/" + wad.lower + ".log")))
        << ReadHostFile(In("logs/" + wad.lower + ".log"));
  }
  EXPECT_FALSE(fs::exists(In("error.log")));

  // The stamps hold: the next run finds everything up to date.
  const auto again = RunKorvane(scratch.path());
  EXPECT_EQ(again.exitCode, 0) << again.out << again.err;
  EXPECT_EQ(ReadHostFile(In("successful.log")),
            "No WADs require conversion.  Everything up to date!");
}

}  // namespace
