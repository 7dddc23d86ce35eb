#include "platform/common/batch_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(AsciiBatchText, EachRunBeyondAsciiGoesIntoAVariable) {
  const struct {
    std::string text;
    std::string ascii;
    std::vector<std::string> runs;
  } cases[] = {
      {"c:\r\nwadconv.exe -wad2hl Base.wad>logs\\base.log\r\n",
       "c:\r\nwadconv.exe -wad2hl Base.wad>logs\\base.log\r\n",
       {}},
      {"wadconv.exe -wad2hl Ch\u00e2teau.wad>logs\\ch\u00e2teau.log",
       "wadconv.exe -wad2hl Ch%KORVANE_TEXT_1%teau.wad>logs\\ch%KORVANE_TEXT_2%teau.log",
       {"\u00e2", "\u00e2"}},
      // A whole name in one run, and a "%%" of the batch kept beside a run.
      {"\"\u30c6\u30af\u30b9\u30c1\u30e3.wad\" \"100%%\u0414\u043e\u043c.wad\"",
       "\"%KORVANE_TEXT_1%.wad\" \"100%%%KORVANE_TEXT_2%.wad\"",
       {"\u30c6\u30af\u30b9\u30c1\u30e3", "\u0414\u043e\u043c"}},
      {"\xe9\xff", "%KORVANE_TEXT_1%", {"\xe9\xff"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> runs = {"stale"};
    EXPECT_EQ(platform::common::AsciiBatchText(c.text, runs), c.ascii) << c.text;
    EXPECT_EQ(runs, c.runs) << c.text;
  }
}

}  // namespace
