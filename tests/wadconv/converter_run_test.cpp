// A whole run over a file system in memory: names, replacement of an older output, and the runs
// whose write or rename fails.

#include "wadconv/converter_run.h"

#include <gtest/gtest.h>

#include "tests/support/memory_file_system.h"
#include "tests/wadconv/wad3_lumps.h"
#include "tools/wad_generator.h"
#include "wadconv/conversion.h"

namespace {

using test_support::MemoryFileSystem;

TEST(WadconvArguments, TheNameFollowsTheOptionAndTheOutputGoesToTheCurrentFolder) {
  const std::pair<const char*, const char*> names[] = {
      {"-wad2hl Base.wad", "Base.wad"},
      {"  -WAD2HL   My Textures.wad ", "My Textures.wad"},
      {"-wad2hl \"My Textures.wad\"", "My Textures.wad"},
      {"-wad2hl", ""},
      {"Base.wad", ""},
      {"-wad2hlx Base.wad", ""}};
  for (const auto& [arguments, name] : names) {
    EXPECT_EQ(wadconv::NameFromArguments(arguments), name) << arguments;
  }
  const std::pair<const char*, const char*> outputs[] = {{"Base.wad", "Base.hlwad"},
                                                         {"castle.old.WAD", "castle.old.hlwad"},
                                                         {"c:\\quake.d\\id1\\Start", "Start.hlwad"},
                                                         {"/home/me/wads/Metal.wad", "Metal.hlwad"},
                                                         {"d:Base.wad", "Base.hlwad"}};
  for (const auto& [name, output] : outputs) {
    EXPECT_EQ(wadconv::OutputName(name), output) << name;
  }
}

// A run leaves either the new output or the older one, and never a temporary file.
TEST(WadconvRun, LeavesAWholeNewOutputOrTheOlderOneAndNoTemporaryFile) {
  std::vector<wadgen::Texture> textures;
  const auto wad =
      wadgen::AssembleWad2(wadgen::MakeLumps({.sizes = {{64, 64}, {32, 16}}}, textures), true);
  const std::vector<char> old = {'o', 'l', 'd'};
  using Fs = MemoryFileSystem;
  const struct {
    const char* arguments;
    bool older;          // an older output is there before the run
    void (*fault)(Fs&);  // what goes wrong, or what else lies in the folder
    int exitCode;
    const char* error;  // how the last line starts after the error marker; null on success
  } cases[] = {
      {"-wad2hl Base.wad", true, nullptr, wadconv::kExitConverted, nullptr},
      {"-wad2hl Base.wad", false, [](Fs& fs) { fs.files["Base.hlwad.tmp"].assign(5000, 'x'); },
       wadconv::kExitConverted, nullptr},
      {"-wad2hl Base.wad", true, [](Fs& fs) { fs.writeLimit = 1000; }, wadconv::kExitFailed,
       "cannot write \"Base.hlwad.tmp\""},
      // The directory comes first; the last texture's header can still be read, its pixels not.
      {"-wad2hl Base.wad", true,
       [](Fs& fs) {
         const std::vector<char>& wad = fs.files["Base.wad"];
         fs.readAtLimit = 40 + (static_cast<std::uint8_t>(wad[12 + 32]) |
                                static_cast<std::uint8_t>(wad[12 + 32 + 1]) << 8);
       },
       wadconv::kExitFailed, "\"Base.wad\" ends at byte"},
      {"-wad2hl Base.wad", false, [](Fs& fs) { fs.failRename = true; }, wadconv::kExitFailed,
       "cannot rename"},
      {"-wad2hl Gone.wad", false, nullptr, wadconv::kExitFailed, "cannot read \"Gone.wad\""},
      {"", false, nullptr, wadconv::kExitUsage, "usage: wadconv -wad2hl NAME"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.arguments) + " " + (c.error == nullptr ? "" : c.error));
    MemoryFileSystem fs;
    fs.files["Base.wad"].assign(wad.begin(), wad.end());
    if (c.older) {
      fs.files["Base.hlwad"] = old;
    }
    if (c.fault != nullptr) {
      c.fault(fs);
    }
    const wadconv::RunOutcome outcome = wadconv::RunWadconv(fs, c.arguments);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
    ASSERT_FALSE(outcome.lines.empty());
    EXPECT_FALSE(fs.files.contains("Base.hlwad.tmp"));
    if (c.error == nullptr) {
      const std::vector<char>& output = fs.files["Base.hlwad"];
      EXPECT_EQ(Wad3Lumps({output.begin(), output.end()}).size(), textures.size());
      EXPECT_EQ(fs.files.size(), 2u);
    } else {
      EXPECT_EQ(outcome.lines.back().rfind(std::string(wadconv::kErrorMarker) + " " + c.error, 0),
                0u)
          << outcome.lines.back();
      EXPECT_EQ(fs.files.contains("Base.hlwad"), c.older);
      if (c.older) {
        EXPECT_EQ(fs.files["Base.hlwad"], old);
      }
    }
  }
}

}  // namespace
