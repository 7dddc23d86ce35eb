#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/trace.h"

namespace {

std::vector<std::string> shownMessages;

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
  core::SetMessageBoxHook([](const std::string& text) { shownMessages.push_back(text); });
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
  ASSERT_EQ(lines.size(), 8u);
  // Enter, a line, enter, two lines, exit, exit, a line; an exit is written at the depth it ends.
  const std::vector<std::pair<std::size_t, std::string>> expected = {
      {0, lines[0].second}, {1, "a"},
      {1, lines[2].second}, {2, ""},
      {2, "x\ry"},          {2, lines[6].second},
      {1, lines[6].second}, {0, "after"}};
  EXPECT_EQ(lines, expected);
  EXPECT_NE(lines[0].second.find("Outer"), std::string::npos);
  EXPECT_NE(lines[2].second.find("Inner"), std::string::npos);
  EXPECT_TRUE(shownMessages.empty());

  // An exit below depth zero is shown once, written to the trace too, and the depth recovers.
  core::Session_TraceText.clear();
  core::TraceExit();
  core::TraceLine("next");
  EXPECT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(core::Session_TabState, 0);
  EXPECT_GT(TraceLines().size(), 2u);
  EXPECT_EQ(TraceLines().back(), std::make_pair(std::size_t{0}, std::string("next")));
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
