#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/host_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"
#include "tests/wadconv/wad3_lumps.h"
#include "tools/wad_generator.h"
#include "wadconv/conversion.h"
#include "wadconv/converter_run.h"

namespace {

namespace fs = std::filesystem;

using namespace test_support;

// The real program, run as Korvane's batch runs it: all it says goes to standard output in lines
// ending in CR LF, an error line starts with the marker, a failed run leaves an older output alone.
TEST(WadconvProgram, ExitsWithWhatHappenedAndWritesOnlyAWholeOutput) {
  const TemporaryFolder root("wadconv-test");
  const fs::path work = root / "work";
  fs::create_directory(root / "wine");
  std::vector<wadgen::Texture> textures;
  const auto wad = wadgen::AssembleWad2(wadgen::MakeLumps({.sizes = {{16, 16}}}, textures), false);
  const struct {
    std::vector<std::string> arguments;
    std::string wad;
    int exitCode;
    std::string said;
  } cases[] = {
      {{"-wad2hl", "MixedCase.wad"},
       {wad.begin(), wad.end()},
       wadconv::kExitConverted,
       "\"MixedCase.hlwad\""},
      {{"-wad2hl", "MixedCase.wad"}, "WAD2", wadconv::kExitFailed, "too small for a WAD header"},
      {{}, {}, wadconv::kExitUsage, "usage: wadconv -wad2hl NAME"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    fs::remove_all(work);
    fs::create_directory(work);
    WriteHostFile(work / "MixedCase.wad", c.wad);
    WriteHostFile(work / "MixedCase.hlwad", "old");
    const ProgramRun run = RunProgram(work, WADCONV_PROGRAM, c.arguments, root.path(),
                                      {{"WINEPREFIX", (root / "wine").string()}});
    const std::string output = run.out + run.err;
    EXPECT_EQ(run.exitCode, c.exitCode) << output;
    EXPECT_NE(output.find(c.said), std::string::npos) << output;
    EXPECT_TRUE(output.ends_with("\r\n"));
    EXPECT_EQ(std::regex_replace(std::regex_replace(output, std::regex("\r"), ""), std::regex("\n"),
                                 "\r\n"),
              output);
    EXPECT_FALSE(fs::exists(work / "MixedCase.hlwad.tmp"));
    EXPECT_EQ(output.find(wadconv::kErrorMarker + std::string(" ")) == std::string::npos,
              c.exitCode == wadconv::kExitConverted)
        << output;
    if (c.exitCode == wadconv::kExitConverted) {
      const std::string wad3 = ReadHostFile(work / "MixedCase.hlwad");
      EXPECT_EQ(Wad3Lumps({wad3.begin(), wad3.end()}).size(), 1u);
    } else {
      EXPECT_EQ(ReadHostFile(work / "MixedCase.hlwad"), "old");
    }
  }
}

}  // namespace
