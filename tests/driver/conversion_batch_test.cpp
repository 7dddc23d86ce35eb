#include "driver/conversion_batch.h"

#include <gtest/gtest.h>

#include "core/date_text.h"
#include "driver/conversion_driver.h"
#include "driver/converter_run.h"
#include "tests/driver/run_folder.h"

namespace {

TEST(ConversionBatch, PlainNamesKeepTheUnquotedLine) {
  EXPECT_EQ(driver::ConverterLine("Base.wad"), "wadconv.exe -wad2hl Base.wad>logs\\base.log");
  EXPECT_EQ(driver::ConverterLine("x-1_[a].WAD"),
            "wadconv.exe -wad2hl x-1_[a].WAD>logs\\x-1_[a].log");
}

TEST(ConversionBatch, UnsafeNamesAreQuotedWithPercentDoubled) {
  EXPECT_EQ(driver::ConverterLine("My Tex.wad"),
            "wadconv.exe -wad2hl \"My Tex.wad\">\"logs\\my tex.log\"");
  EXPECT_EQ(driver::ConverterLine("100%.wad"),
            "wadconv.exe -wad2hl \"100%%.wad\">\"logs\\100%%.log\"");
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

// The batch as the interpreter gets it, copied away by a stand-in converter while it runs.
TEST(ConversionBatch, BatchHoldsOneLinePerWadBetweenFolderChangeAndExit) {
  namespace fs = std::filesystem;
  const fs::path folder = driver_testing::TextureFolder();
  driver_testing::WriteHostFile(folder / "Base.wad", driver_testing::QuakeWad(1));
  driver_testing::WriteHostFile(folder / "castle.wad", driver_testing::QuakeWad(1));
  driver_testing::WriteHostFile(folder / "my tex.wad", driver_testing::QuakeWad(1));
  fs::create_directories(folder / "logs");
  driver_testing::WriteHostFile(folder / "logs" / "castle.log", "stale");
  driver_testing::WriteHostFile(folder / "logs" / "other.log", "kept");
  driver_testing::DropStandInConverter(
      R"(cp 2hlwad.bat batch.copy; pwd > folder.copy
grep -q stale logs/castle.log 2>/dev/null && echo "$2" >> stale.copy; true)");

  driver_testing::RunKorvane();

  EXPECT_EQ(driver_testing::ReadHostFile(folder / "batch.copy"),
            "c:\r\ncd c:\\program files\\worldcraft\\textures\r\n"
            "wadconv.exe -wad2hl Base.wad>logs\\base.log\r\n"
            "wadconv.exe -wad2hl castle.wad>logs\\castle.log\r\n"
            "wadconv.exe -wad2hl \"my tex.wad\">\"logs\\my tex.log\"\r\n"
            "exit\r\n");
  EXPECT_EQ(driver_testing::ReadHostFile(folder / "folder.copy"), folder.string() + "\n");
  EXPECT_FALSE(fs::exists(folder / "stale.copy"));
  EXPECT_EQ(driver_testing::ReadHostFile(folder / "logs" / "other.log"), "kept");
  EXPECT_FALSE(fs::exists(folder / "2hlwad.bat"));
}

}  // namespace
