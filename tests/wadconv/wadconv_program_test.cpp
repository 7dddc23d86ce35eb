// The real wadconv program, run in a folder of its own the way Korvane's batch runs it: its command
// line, exit statuses, output and real files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/host_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"
#include "tests/wadconv/wad3_inspection.h"
#include "tools/wad_generator.h"
#include "wadconv/conversion.h"
#include "wadconv/converter_run.h"

namespace {

namespace fs = std::filesystem;

using test_support::ReadHostFile;
using test_support::WriteHostFile;

std::string SmallWad() {
  std::vector<wadgen::Texture> textures;
  const auto wad = wadgen::AssembleWad2(wadgen::MakeLumps({.sizes = {{16, 16}}}, textures), false);
  return {wad.begin(), wad.end()};
}

std::vector<std::uint8_t> Wad3At(const fs::path& path) {
  const std::string bytes = ReadHostFile(path);
  return {bytes.begin(), bytes.end()};
}

// A fresh folder "work" to run in, next to a private WINEPREFIX and the captured output.
class WadconvProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work());
    fs::create_directory(root_ / "wine");
  }

  fs::path work() const { return root_ / "work"; }

  // Runs wadconv in the work folder with the words of its command line; returns its exit status
  // and sets `output`.
  int Run(const std::vector<std::string>& words, std::string& output) const {
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
  const std::string older = "old";
  const struct {
    std::vector<std::string> arguments;
    std::string wad;
    int exitCode;
    std::string said;
  } cases[] = {
      {{"-wad2hl", "MixedCase.wad"}, SmallWad(), wadconv::kExitConverted, "\"MixedCase.hlwad\""},
      {{"-wad2hl", "MixedCase.wad"},
       std::string("WAD2\1\0\0", 7),
       wadconv::kExitFailed,
       "too small for a WAD header"},
      {{"-wad2hl", "Nowhere.wad"}, {}, wadconv::kExitFailed, "cannot read \"Nowhere.wad\""},
      {{}, {}, wadconv::kExitUsage, "usage: wadconv -wad2hl NAME"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    fs::remove_all(work());
    fs::create_directory(work());
    WriteHostFile(work() / "MixedCase.wad", c.wad);
    WriteHostFile(work() / "MixedCase.hlwad", older);
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
      EXPECT_EQ(ReadWad3(Wad3At(work() / "MixedCase.hlwad")).size(), 1u);
    } else {
      EXPECT_NE(output.find(std::string(wadconv::kErrorMarker) + " "), std::string::npos) << output;
      EXPECT_EQ(ReadHostFile(work() / "MixedCase.hlwad"), older);
    }
  }
}

TEST_F(WadconvProgram, ALinkAtTheTemporaryNameIsNeverWrittenThrough) {
  WriteHostFile(work() / "Base.wad", SmallWad());
  const std::string precious = "keep";
  WriteHostFile(root_ / "Precious", precious);

  // A link to a file is removed, and the conversion goes on.
  std::error_code noLinks;
  fs::create_symlink(root_ / "Precious", work() / "Base.hlwad.tmp", noLinks);
  if (noLinks) {
    GTEST_SKIP() << "this system makes no symbolic links: " << noLinks.message();
  }
  std::string output;
  EXPECT_EQ(Run({"-wad2hl", "Base.wad"}, output), 0) << output;
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Base.wad", "Base.hlwad"}));
  EXPECT_FALSE(fs::is_symlink(work() / "Base.hlwad"));
  EXPECT_EQ(ReadWad3(Wad3At(work() / "Base.hlwad")).size(), 1u);
  EXPECT_EQ(ReadHostFile(root_ / "Precious"), precious);

  // A link that leads nowhere is removed too; its target is never created.
  fs::remove(work() / "Base.hlwad");
  fs::create_symlink(root_ / "Nowhere", work() / "Base.hlwad.tmp");
  EXPECT_EQ(Run({"-wad2hl", "Base.wad"}, output), 0) << output;
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"Base.wad", "Base.hlwad"}));
  EXPECT_FALSE(fs::exists(root_ / "Nowhere"));
}

}  // namespace
