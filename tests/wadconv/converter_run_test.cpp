// A whole run over a file system in memory: names, replacement of an older output, and the runs
// whose write or rename fails.

#include "wadconv/converter_run.h"

#include <gtest/gtest.h>

#include "tests/support/memory_file_system.h"
#include "tests/wadconv/wad3_inspection.h"
#include "tools/wad_generator.h"

namespace {

using test_support::MemoryFileSystem;

std::vector<char> SmallWad() {
  wadgen::WadOptions options;
  options.sizes = {{64, 64}, {32, 16}};
  std::vector<wadgen::Texture> textures;
  const auto bytes = wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), false);
  return {bytes.begin(), bytes.end()};
}

std::string Text(const wadconv::RunOutcome& outcome) {
  std::string text;
  for (const std::string& line : outcome.lines) {
    text += line + "\n";
  }
  return text;
}

TEST(WadconvArguments, TheNameFollowsTheOptionAndKeepsItsSpaces) {
  EXPECT_EQ(wadconv::NameFromArguments("-wad2hl Base.wad"), "Base.wad");
  EXPECT_EQ(wadconv::NameFromArguments("  -WAD2HL   My Textures.wad "), "My Textures.wad");
  EXPECT_EQ(wadconv::NameFromArguments("-wad2hl \"My Textures.wad\""), "My Textures.wad");
  EXPECT_EQ(wadconv::NameFromArguments("-wad2hl"), "");
  EXPECT_EQ(wadconv::NameFromArguments("Base.wad"), "");
  EXPECT_EQ(wadconv::NameFromArguments("-wad2hlx Base.wad"), "");
}

TEST(WadconvArguments, TheOutputIsTheFileNameUpToItsLastDotInTheCurrentFolder) {
  EXPECT_EQ(wadconv::OutputName("Base.wad"), "Base.hlwad");
  EXPECT_EQ(wadconv::OutputName("castle.old.WAD"), "castle.old.hlwad");
  EXPECT_EQ(wadconv::OutputName("c:\\quake.d\\id1\\Start"), "Start.hlwad");
  EXPECT_EQ(wadconv::OutputName("/home/me/wads/Metal.wad"), "Metal.hlwad");
  EXPECT_EQ(wadconv::OutputName("d:Base.wad"), "Base.hlwad");
}

TEST(WadconvRun, ConvertsIntoTheOutputAndReplacesAnOlderOneLeavingNoTemporaryFile) {
  MemoryFileSystem fs;
  fs.files["Base.wad"] = SmallWad();
  fs.files["Base.hlwad"] = {'o', 'l', 'd'};

  const wadconv::RunOutcome outcome = wadconv::RunWadconv(fs, "-wad2hl Base.wad");

  EXPECT_EQ(outcome.exitCode, wadconv::kExitConverted) << Text(outcome);
  ASSERT_TRUE(fs.files.contains("Base.hlwad"));
  const std::vector<char>& output = fs.files["Base.hlwad"];
  EXPECT_EQ(ReadWad3({output.begin(), output.end()}).size(), 2u);
  EXPECT_EQ(fs.files.size(), 2u) << "a temporary file was left behind";
  EXPECT_EQ(Text(outcome).find("ERROR"), std::string::npos) << Text(outcome);
}

TEST(WadconvRun, AWriteThatFailsLeavesTheOlderOutputAndNoTemporaryFile) {
  MemoryFileSystem fs;
  fs.files["Base.wad"] = SmallWad();
  fs.files["Base.hlwad"] = {'o', 'l', 'd'};
  fs.writeLimit = 1000;

  const wadconv::RunOutcome outcome = wadconv::RunWadconv(fs, "-wad2hl Base.wad");

  EXPECT_EQ(outcome.exitCode, wadconv::kExitFailed);
  EXPECT_EQ(outcome.lines.back().rfind("** ERROR ** cannot write \"Base.hlwad.tmp\"", 0), 0u)
      << Text(outcome);
  EXPECT_EQ(fs.files["Base.hlwad"], (std::vector<char>{'o', 'l', 'd'}));
  EXPECT_EQ(fs.files.size(), 2u) << "a temporary file was left behind";
}

TEST(WadconvRun, ALeftoverTemporaryFileIsReplacedNotAddedTo) {
  MemoryFileSystem fs;
  fs.files["Base.wad"] = SmallWad();
  fs.files["Base.hlwad.tmp"] = std::vector<char>(5000, 'x');

  const wadconv::RunOutcome outcome = wadconv::RunWadconv(fs, "-wad2hl Base.wad");

  EXPECT_EQ(outcome.exitCode, wadconv::kExitConverted) << Text(outcome);
  const std::vector<char>& output = fs.files["Base.hlwad"];
  EXPECT_EQ(ReadWad3({output.begin(), output.end()}).size(), 2u);
  EXPECT_FALSE(fs.files.contains("Base.hlwad.tmp"));
}

TEST(WadconvRun, AWadThatShrinksWhileItIsCopiedFailsAndKeepsTheOlderOutput) {
  MemoryFileSystem fs;
  wadgen::WadOptions options;
  options.sizes = {{64, 64}, {32, 16}};
  std::vector<wadgen::Texture> textures;
  const auto wad = wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), true);
  fs.files["Base.wad"] = {wad.begin(), wad.end()};
  fs.files["Base.hlwad"] = {'o', 'l', 'd'};
  // The directory comes first; the last texture's header can still be read, its pixels not.
  const std::size_t lastLump =
      static_cast<std::uint8_t>(wad[12 + 32]) | static_cast<std::uint8_t>(wad[12 + 32 + 1]) << 8;
  fs.readAtLimit = lastLump + 40;

  const wadconv::RunOutcome outcome = wadconv::RunWadconv(fs, "-wad2hl Base.wad");

  EXPECT_EQ(outcome.exitCode, wadconv::kExitFailed);
  EXPECT_EQ(outcome.lines.back().rfind("** ERROR ** \"Base.wad\" ends at byte", 0), 0u)
      << Text(outcome);
  EXPECT_EQ(fs.files["Base.hlwad"], (std::vector<char>{'o', 'l', 'd'}));
  EXPECT_EQ(fs.files.size(), 2u) << "a temporary file was left behind";
}

TEST(WadconvRun, ARenameThatFailsLeavesNoTemporaryFile) {
  MemoryFileSystem fs;
  fs.files["Base.wad"] = SmallWad();
  fs.failRename = true;

  const wadconv::RunOutcome outcome = wadconv::RunWadconv(fs, "-wad2hl Base.wad");

  EXPECT_EQ(outcome.exitCode, wadconv::kExitFailed);
  EXPECT_EQ(outcome.lines.back().rfind("** ERROR ** cannot rename", 0), 0u) << Text(outcome);
  EXPECT_EQ(fs.files.size(), 1u);
}

TEST(WadconvRun, AMissingWadOrAMissingNameIsAnError) {
  MemoryFileSystem fs;

  const wadconv::RunOutcome missing = wadconv::RunWadconv(fs, "-wad2hl Gone.wad");
  const wadconv::RunOutcome usage = wadconv::RunWadconv(fs, "");

  EXPECT_EQ(missing.exitCode, wadconv::kExitFailed);
  EXPECT_EQ(missing.lines.back().rfind("** ERROR ** cannot read \"Gone.wad\"", 0), 0u);
  EXPECT_EQ(usage.exitCode, wadconv::kExitUsage);
  EXPECT_EQ(usage.lines.back(), "** ERROR ** usage: wadconv -wad2hl NAME");
  EXPECT_TRUE(fs.files.empty());
}

}  // namespace
