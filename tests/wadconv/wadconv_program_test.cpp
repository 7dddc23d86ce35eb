// The real wadconv program, run in a folder of its own the way Korvane's batch runs it: its command
// line, exit statuses, output and real files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/host_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"
#include "tests/wadconv/bad_wads.h"
#include "tests/wadconv/wad3_inspection.h"
#include "tools/wad_generator.h"
#include "wadconv/conversion.h"
#include "wadconv/converter_run.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  const std::string bytes = test_support::ReadHostFile(path);
  return {bytes.begin(), bytes.end()};
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  test_support::WriteHostFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> SmallWad() {
  std::vector<wadgen::Texture> textures;
  return wadgen::AssembleWad2(wadgen::MakeLumps({.sizes = {{16, 16}}}, textures), false);
}

// A fresh folder "work" to run in, next to a private WINEPREFIX and the captured output.
class WadconvProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work());
    fs::create_directory(root_ / "wine");
  }

  fs::path work() const { return root_ / "work"; }

  // Runs wadconv in the work folder with `arguments` split at spaces into words, the way a command
  // line without quotes is split; returns its exit status and sets `output`.
  int Run(const std::string& arguments, std::string& output) const {
    std::vector<std::string> words;
    std::istringstream split(arguments);
    for (std::string word; split >> word;) {
      words.push_back(word);
    }
    const test_support::ProgramRun run = test_support::RunProgram(
        work(), WADCONV_PROGRAM, words, root_.path(), {{"WINEPREFIX", (root_ / "wine").string()}});
    output = run.out + run.err;
    return run.exitCode;
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

// Everything goes to standard output in lines with CR LF ends; an error line starts with the marker
// and a failed run leaves an older output alone.
TEST_F(WadconvProgram, ExitsWithWhatHappenedAndWritesOnlyAWholeOutput) {
  const std::vector<std::uint8_t> older = {'o', 'l', 'd'};
  const struct {
    const char* arguments;
    std::vector<std::uint8_t> wad;
    int exitCode;
    std::string said;
  } cases[] = {
      {"-wad2hl MixedCase.wad", SmallWad(), wadconv::kExitConverted, "\"MixedCase.hlwad\""},
      {"-wad2hl MixedCase.wad", BadWads().front().bytes, wadconv::kExitFailed,
       BadWads().front().message},
      {"-wad2hl Nowhere.wad", {}, wadconv::kExitFailed, "cannot read \"Nowhere.wad\""},
      {"", {}, wadconv::kExitUsage, "usage: wadconv -wad2hl NAME"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    fs::remove_all(work());
    fs::create_directory(work());
    WriteBytes(work() / "MixedCase.wad", c.wad);
    WriteBytes(work() / "MixedCase.hlwad", older);
    std::string output;
    EXPECT_EQ(Run(c.arguments, output), c.exitCode) << output;
    EXPECT_NE(output.find(c.said), std::string::npos) << output;
    std::size_t crLfs = 0;
    for (std::size_t at = output.find("\r\n"); at != std::string::npos;
         at = output.find("\r\n", at + 2)) {
      ++crLfs;
    }
    EXPECT_EQ(static_cast<std::size_t>(std::count(output.begin(), output.end(), '\n')), crLfs);
    EXPECT_EQ(output.substr(output.size() - 2), "\r\n");
    EXPECT_EQ(WorkFiles(), (std::set<std::string>{"MixedCase.wad", "MixedCase.hlwad"}));
    if (c.exitCode == wadconv::kExitConverted) {
      EXPECT_EQ(output.find(wadconv::kErrorMarker), std::string::npos) << output;
      EXPECT_EQ(ReadWad3(ReadBytes(work() / "MixedCase.hlwad")).size(), 1u);
    } else {
      EXPECT_NE(output.find(std::string(wadconv::kErrorMarker) + " "), std::string::npos) << output;
      EXPECT_EQ(ReadBytes(work() / "MixedCase.hlwad"), older);
    }
  }
}

TEST_F(WadconvProgram, TakesANameWithSpacesUnquotedAndAWadFromAnotherFolder) {
  WriteBytes(work() / "My Textures.wad", SmallWad());
  WriteBytes(root_ / "Elsewhere.wad", SmallWad());
  std::string output;

  EXPECT_EQ(Run("-wad2hl My Textures.wad", output), 0) << output;
  EXPECT_EQ(Run("-wad2hl ../Elsewhere.wad", output), 0) << output;
  EXPECT_EQ(WorkFiles(),
            (std::set<std::string>{"My Textures.wad", "My Textures.hlwad", "Elsewhere.hlwad"}));
}

TEST_F(WadconvProgram, ALinkAtTheTemporaryNameIsNeverWrittenThrough) {
  WriteBytes(work() / "Base.wad", SmallWad());
  const std::vector<std::uint8_t> precious = {'k', 'e', 'e', 'p'};
  WriteBytes(root_ / "Precious", precious);

  // A link to a file is removed, and the conversion goes on.
  std::error_code noLinks;
  fs::create_symlink(root_ / "Precious", work() / "Base.hlwad.tmp", noLinks);
  if (noLinks) {
    GTEST_SKIP() << "this system makes no symbolic links: " << noLinks.message();
  }
  std::string output;
  EXPECT_EQ(Run("-wad2hl Base.wad", output), 0) << output;
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Base.wad", "Base.hlwad"}));
  EXPECT_FALSE(fs::is_symlink(work() / "Base.hlwad"));
  EXPECT_EQ(ReadWad3(ReadBytes(work() / "Base.hlwad")).size(), 1u);
  EXPECT_EQ(ReadBytes(root_ / "Precious"), precious);

  // A link that leads nowhere is removed too; its target is never created.
  fs::remove(work() / "Base.hlwad");
  fs::create_symlink(root_ / "Nowhere", work() / "Base.hlwad.tmp");
  EXPECT_EQ(Run("-wad2hl Base.wad", output), 0) << output;
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Base.wad", "Base.hlwad"}));
  EXPECT_FALSE(fs::exists(root_ / "Nowhere"));
}

}  // namespace
