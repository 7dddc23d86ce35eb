#include "window/qt/windows1252.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Each line that is valid UTF-8 shows as UTF-8, every other line as Windows-1252 throughout; each
// line break is one break.
TEST(ScreenText, DecodesEachLineAsUtf8OrElseAsWindows1252) {
  const std::string cases[][2] = {
      {"\x80\x85\x8A\x91\x99\x9F", "\u20AC\u2026\u0160\u2018\u2122\u0178"},
      {"\x81\x8D\x8F\x90\x9D\xA0\xFF", "\u0081\u008D\u008F\u0090\u009D\u00A0\u00FF"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"\r\r\n\n\r", "\n\n\n\n"},
      {"\n\r", "\n\n"},
      {"\xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBB\xBF \xF4\x8F\xBF\xBF",
       "\u20AC \U0001F600 \uFEFF \U0010FFFF"},
      // One stray Windows-1252 byte makes the whole line Windows-1252.
      {"\xC3\x84 caf\xE9", "\u00C3\u201E caf\u00E9"},
      {"\xC3\x84\r\n\xC4\r\xC3\x96\n\xD6", "\u00C4\n\u00C4\n\u00D6\n\u00D6"},
      // A character is never split by a line break: the break ends the line first.
      {"\xC3\n\x84", "\u00C3\n\u201E"},
      // A decision line cuts its path at a fixed byte, perhaps inside a character, before ": ".
      {"\xC3\xA9t\xE2\x82: Ok", "\xC3\xA9t: Ok"},
      {"x\xF0\x9F\x98: Ok", "x: Ok"},
      // Not the start of any character: the line is Windows-1252.
      {"\xED\xA0: Ok", "\xC3\xAD\xC2\xA0: Ok"},
      {"\xC3\xA9\xC3 Ok", "\xC3\x83\xC2\xA9\xC3\x83 Ok"},
  };
  for (const auto& [bytes, shown] : cases) {
    EXPECT_EQ(window::ScreenText(bytes), Utf8(shown)) << bytes;
  }
}

// Overlong forms, a surrogate, beyond U+10FFFF, cut short by the line's end or by a space, a lone
// continuation byte, a lead byte no longer UTF-8: each such line shows byte by byte.
TEST(ScreenText, ALineWithAnInvalidSequenceShowsEachByteOnItsOwn) {
  const std::string invalid =
      "\xC0\x80\n\xE0\x80\xAF\n\xED\xA0\x80\n\xF4\x90\x80\x80\n\xE2\x82\n\xC3 "
      "x\n\x80\n\xF8\x88\x80\x80";
  QString expected;
  for (const char byte : invalid) {
    expected += window::ScreenText(std::string(1, byte));
  }
  EXPECT_EQ(window::ScreenText(invalid), expected);
}

TEST(ScreenPosition, CountsWhatTheScreenShows) {
  const std::string text =
      "a\xC3\x84"
      "b\r\nc\xE9\r\xF0\x9F\x98\x80";
  const int expected[] = {0, 1, 2, 2, 3, 4, 4, 5, 6, 7, 9, 9, 9, 9};
  ASSERT_EQ(std::size(expected), text.size() + 1);
  for (std::size_t offset = 0; offset <= text.size(); ++offset) {
    EXPECT_EQ(window::ScreenPosition(text, offset), expected[offset]) << offset;
  }
  EXPECT_EQ(window::ScreenPosition(text, text.size() + 5), 9);
  EXPECT_EQ(window::ScreenText(text).size(), 9);
  EXPECT_EQ(window::ScreenPosition("Ch\xC3: Ok", 3), 2) << "the cut character is left out";
  EXPECT_EQ(window::ScreenPosition("Ch\xC3: Ok", 4), 3);
}

}  // namespace
