// The real wadconv program, run in a folder of its own the way Korvane's batch runs it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"
#include "tests/wadconv/bad_wads.h"
#include "tests/wadconv/wad3_inspection.h"
#include "tools/wad_generator.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

struct ProgramRun {
  int exitCode = -1;
  std::string output;
};

// A fresh folder "work" to run in, next to a private WINEPREFIX and the captured output.
class WadconvProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work());
    fs::create_directory(root_ / "wine");
  }

  fs::path work() const { return root_ / "work"; }

  // Runs wadconv in the work folder with `arguments` split at spaces into words, the way a command
  // line without quotes is split.
  ProgramRun Run(const std::string& arguments) const {
    std::vector<std::string> words;
    std::istringstream split(arguments);
    for (std::string word; split >> word;) {
      words.push_back(word);
    }
    const test_support::ProgramRun run = test_support::RunProgram(
        work(), WADCONV_PROGRAM, words, root_.path(), {{"WINEPREFIX", (root_ / "wine").string()}});
    return {run.exitCode, run.out + run.err};
  }

  std::set<std::string> WorkFiles() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(work())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  test_support::TemporaryFolder root_{"wadconv-test"};
};

TEST_F(WadconvProgram, WritesStemHlwadInTheCurrentFolderWithEveryTexture) {
  wadgen::WadOptions options;
  options.extras = true;
  std::vector<wadgen::Texture> textures;
  WriteBytes(work() / "MixedCase.wad",
             wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), false));

  const ProgramRun run = Run("-wad2hl MixedCase.wad");

  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"MixedCase.wad", "MixedCase.hlwad"}));
  const auto converted = ReadWad3(ReadBytes(work() / "MixedCase.hlwad"));
  ASSERT_EQ(converted.size(), textures.size());
  for (std::size_t k = 0; k < textures.size(); ++k) {
    EXPECT_EQ(converted[k].name, textures[k].name);
    EXPECT_EQ(converted[k].mips, textures[k].mips) << textures[k].name;
  }
  EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.substr(run.output.size() - 2), "\r\n");
}

TEST_F(WadconvProgram, TakesANameWithSpacesUnquotedAndAWadFromAnotherFolder) {
  wadgen::WadOptions options;
  options.sizes = {{16, 16}};
  std::vector<wadgen::Texture> textures;
  const auto wad = wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), false);
  WriteBytes(work() / "My Textures.wad", wad);
  WriteBytes(root_ / "Elsewhere.wad", wad);

  const ProgramRun spaced = Run("-wad2hl My Textures.wad");
  const ProgramRun elsewhere = Run("-wad2hl ../Elsewhere.wad");

  EXPECT_EQ(spaced.exitCode, 0) << spaced.output;
  EXPECT_EQ(elsewhere.exitCode, 0) << elsewhere.output;
  EXPECT_EQ(WorkFiles(),
            (std::set<std::string>{"My Textures.wad", "My Textures.hlwad", "Elsewhere.hlwad"}));
}

TEST_F(WadconvProgram, ALinkAtTheTemporaryNameIsNeverWrittenThrough) {
  wadgen::WadOptions options;
  options.sizes = {{16, 16}};
  std::vector<wadgen::Texture> textures;
  WriteBytes(work() / "Base.wad",
             wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), false));
  const std::vector<std::uint8_t> precious = {'k', 'e', 'e', 'p'};
  WriteBytes(root_ / "Precious", precious);

  // A link to a file is removed, and the conversion goes on.
  std::error_code noLinks;
  fs::create_symlink(root_ / "Precious", work() / "Base.hlwad.tmp", noLinks);
  if (noLinks) {
    GTEST_SKIP() << "this system makes no symbolic links: " << noLinks.message();
  }
  const ProgramRun live = Run("-wad2hl Base.wad");

  EXPECT_EQ(live.exitCode, 0) << live.output;
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Base.wad", "Base.hlwad"}));
  EXPECT_FALSE(fs::is_symlink(work() / "Base.hlwad"));
  EXPECT_EQ(ReadWad3(ReadBytes(work() / "Base.hlwad")).size(), 1u);
  EXPECT_EQ(ReadBytes(root_ / "Precious"), precious);

  // A link that leads nowhere is removed too; its target is never created.
  fs::remove(work() / "Base.hlwad");
  fs::create_symlink(root_ / "Nowhere", work() / "Base.hlwad.tmp");
  const ProgramRun dangling = Run("-wad2hl Base.wad");

  EXPECT_EQ(dangling.exitCode, 0) << dangling.output;
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Base.wad", "Base.hlwad"}));
  EXPECT_FALSE(fs::exists(root_ / "Nowhere"));
}

TEST_F(WadconvProgram, CopiesAHalfLifeWadUnchanged) {
  const std::vector<std::uint8_t> wad3 = {'W', 'A', 'D', '3', 0, 0, 0, 0, 12, 0, 0, 0};
  WriteBytes(work() / "Already.wad", wad3);

  const ProgramRun run = Run("-wad2hl Already.wad");

  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("copied unchanged"), std::string::npos) << run.output;
  EXPECT_EQ(ReadBytes(work() / "Already.hlwad"), wad3);
}

TEST_F(WadconvProgram, EachMalformedWadFailsWithoutOutputAndLeavesAnOlderOutputAlone) {
  const std::vector<std::uint8_t> older = {'o', 'l', 'd', 'e', 'r'};
  for (const BadWad& bad : BadWads()) {
    SCOPED_TRACE(bad.fault);
    fs::remove_all(work());
    fs::create_directory(work());
    WriteBytes(work() / "Bad.wad", bad.bytes);

    const ProgramRun fresh = Run("-wad2hl Bad.wad");
    EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Bad.wad"}));
    WriteBytes(work() / "Bad.hlwad", older);
    const ProgramRun again = Run("-wad2hl Bad.wad");

    EXPECT_EQ(fresh.exitCode, 1) << fresh.output;
    EXPECT_NE(fresh.output.find("** ERROR ** "), std::string::npos) << fresh.output;
    EXPECT_NE(fresh.output.find(bad.message), std::string::npos) << fresh.output;
    EXPECT_EQ(again.exitCode, 1) << again.output;
    EXPECT_EQ(ReadBytes(work() / "Bad.hlwad"), older);
    EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Bad.wad", "Bad.hlwad"}));
  }
}

TEST_F(WadconvProgram, AWadOfPicturesOnlyFailsAndLeavesNoOutput) {
  std::vector<wadgen::Lump> pictures = {{"CONCHARS", 0x44, 0, std::vector<std::uint8_t>(16384, 1)}};
  for (const char* name : {"Num_0", "Num_1", "Disc", "Pause"}) {
    pictures.push_back({name, 0x42, 0, std::vector<std::uint8_t>(8 + 24 * 24, 7)});
  }
  WriteBytes(work() / "Gfx.wad", wadgen::AssembleWad2(pictures, false));

  const ProgramRun run = Run("-wad2hl Gfx.wad");

  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("** ERROR ** the file holds no texture: all 5 of its lumps were "
                            "skipped (\"CONCHARS\", \"Num_0\""),
            std::string::npos)
      << run.output;
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Gfx.wad"}));
}

TEST_F(WadconvProgram, AMissingWadAndAMissingNameAreErrors) {
  const ProgramRun missing = Run("-wad2hl Nowhere.wad");
  const ProgramRun usage = Run("");

  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("** ERROR ** cannot read \"Nowhere.wad\""), std::string::npos)
      << missing.output;
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_EQ(usage.output,
            "** ERROR ** wadconv: expected -wad2hl and the name of a WAD\r\n"
            "usage: wadconv -wad2hl NAME\r\n");
  EXPECT_TRUE(WorkFiles().empty());
}

}  // namespace
