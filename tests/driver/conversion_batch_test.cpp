#include "driver/conversion_batch.h"

#include <gtest/gtest.h>

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

}  // namespace
