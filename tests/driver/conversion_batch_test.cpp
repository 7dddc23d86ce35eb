#include "driver/conversion_batch.h"

#include <gtest/gtest.h>

#include "driver/converter_run.h"
#include "driver/run_paths.h"
#include "tests/driver/run_folder.h"

namespace {

// Words the command interpreter would split or expand go in double quotes, with "%" doubled.
TEST(ConversionBatch, ConverterLineQuotesOnlyWhatTheInterpreterWouldReadAsSyntax) {
  const std::pair<const char*, const char*> lines[] = {
      {"Base.wad", "wadconv.exe -wad2hl Base.wad>logs\\base.log"},
      {"x-1_[a].WAD", "wadconv.exe -wad2hl x-1_[a].WAD>logs\\x-1_[a].log"},
      {"My Tex.wad", "wadconv.exe -wad2hl \"My Tex.wad\">\"logs\\my tex.log\""},
      {"100%.wad", "wadconv.exe -wad2hl \"100%%.wad\">\"logs\\100%%.log\""},
  };
  for (const auto& [name, line] : lines) {
    EXPECT_EQ(driver::ConverterLine(name), line);
  }
  for (const char c : std::string("&|()^,;=%!")) {
    const std::string name = std::string("a") + c + "b.wad";
    EXPECT_EQ(driver::BatchWord(name).front(), '"') << name;
  }
}

TEST(ConverterRun, ElapsedTimeDropsTheHours) {
  const double second = 1.0 / 86400;
  EXPECT_EQ(driver::CompletionText(45000.0, 45000.0 + 3725 * second),
            "... COMPLETE: 02:05 elapsed.");
  EXPECT_EQ(driver::CompletionText(45000.0, 45000.0 + 7 * second), "... COMPLETE: 00:07 elapsed.");
}

// The batch as the interpreter gets it, copied away by a stand-in converter while it runs: the
// WADs' old logs are gone, other logs stay.
TEST(ConversionBatch, BatchHoldsOneLinePerWadBetweenFolderChangeAndExit) {
  using namespace driver_testing;
  EmptyTextureFolder();
  for (const char* name : {"Base.wad", "castle.wad", "my tex.wad"}) {
    WriteHostFile(In(name), QuakeWad(1));
  }
  WriteHostFile(In("logs/castle.log"), "stale");
  WriteHostFile(In("logs/other.log"), "kept");
  DropStandInConverter(
      R"(cp 2hlwad.bat batch.copy; pwd > folder.copy
grep -q stale logs/castle.log 2>/dev/null && echo "$2" >> stale.copy; true)");

  RunKorvane();

  EXPECT_EQ(ReadHostFile(In("batch.copy")),
            "c:\r\ncd " + std::string(driver::kTextureFolder) + "\r\n" +
                driver::ConverterLine("Base.wad") + "\r\n" + driver::ConverterLine("castle.wad") +
                "\r\n" + driver::ConverterLine("my tex.wad") + "\r\nexit\r\n");
  EXPECT_EQ(ReadHostFile(In("folder.copy")), TextureFolder().string() + "\n");
  EXPECT_FALSE(std::filesystem::exists(In("stale.copy")));
  EXPECT_EQ(ReadHostFile(In("logs/other.log")), "kept");
  EXPECT_FALSE(std::filesystem::exists(In("2hlwad.bat")));
}

}  // namespace
