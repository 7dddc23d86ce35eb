#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/trace.h"

namespace {

std::vector<std::string> shownMessages;

void RecordMessage(const std::string& text) {
  shownMessages.push_back(text);
}

// The trace's lines, each split into its depth (leading tabs) and its text.
std::vector<std::pair<std::size_t, std::string>> TraceLines() {
  std::vector<std::pair<std::size_t, std::string>> lines;
  const std::string& trace = core::Session_TraceText;
  for (std::size_t at = 0; at < trace.size();) {
    const std::size_t end = trace.find("\r\n", at);
    const std::string line = trace.substr(at, end - at);
    const std::size_t tabs = std::min(line.find_first_not_of('\t'), line.size());
    lines.emplace_back(tabs, line.substr(tabs));
    at = end == std::string::npos ? trace.size() : end + 2;
  }
  return lines;
}

TEST(Trace, EachLineEndsWithCrLfIndentedOneTabPerOpenOperation) {
  shownMessages.clear();
  core::SetMessageBoxHook(RecordMessage);
  core::TraceEnter("Outer");
  core::TraceLine("a");
  core::TraceEnter("Inner");
  core::TraceLine("");
  core::TraceLine("x\ry");
  core::TraceExit();
  core::TraceExit();
  core::TraceLine("after");
  ASSERT_TRUE(core::Session_TraceText.ends_with("\r\n"));
  const auto lines = TraceLines();
  // Enter, a line, enter, two lines, exit, exit, a line; an exit is written at the depth it ends.
  const std::size_t depths[] = {0, 1, 1, 2, 2, 2, 1, 0};
  ASSERT_EQ(lines.size(), std::size(depths));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].first, depths[i]) << i;
  }
  EXPECT_NE(lines[0].second.find("Outer"), std::string::npos);
  EXPECT_NE(lines[2].second.find("Inner"), std::string::npos);
  EXPECT_EQ(lines[1].second, "a");
  EXPECT_EQ(lines[3].second, "");
  EXPECT_EQ(lines[4].second, "x\ry");
  EXPECT_EQ(lines[5].second, lines[6].second);
  EXPECT_EQ(lines[7].second, "after");
  EXPECT_EQ(core::Session_TabState, 0);
  EXPECT_TRUE(shownMessages.empty());
}

TEST(Trace, AnExitBelowDepthZeroIsShownOnceAndTheDepthRecovers) {
  shownMessages.clear();
  core::SetMessageBoxHook(RecordMessage);
  core::TraceExit();
  core::TraceLine("next");
  EXPECT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(core::Session_TabState, 0);
  const auto lines = TraceLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.back(), std::make_pair(std::size_t{0}, std::string("next")));
  // The fault is in the trace too, not only on the screen.
  EXPECT_GT(lines.size(), 2u);
}

TEST(Trace, EnteringAtTheDeepestLevelAppendsItsLineThenOverflows) {
  core::Session_TabState = 32767;
  EXPECT_THROW(core::TraceEnter("Deep"), std::overflow_error);
  EXPECT_EQ(core::Session_TabState, 32767);
  const auto lines = TraceLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].first, 32767u);
  EXPECT_NE(lines[0].second.find("Deep"), std::string::npos);
}

}  // namespace
