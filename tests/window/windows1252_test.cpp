#include "window/qt/windows1252.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

TEST(ScreenText, DecodesWindows1252) {
  EXPECT_EQ(window::ScreenText("\x80\x85\x8A\x91\x92\x96\x99\x9F"),
            QString::fromUtf8("\u20AC\u2026\u0160\u2018\u2019\u2013\u2122\u0178"));
  EXPECT_EQ(window::ScreenText("\x81\x8D\x8F\x90\x9D"),
            QString::fromUtf8("\u0081\u008D\u008F\u0090\u009D"));
  EXPECT_EQ(window::ScreenText("caf\xE9 \xA0\xFF plain"),
            QString::fromUtf8("caf\u00E9 \u00A0\u00FF plain"));
  EXPECT_EQ(window::ScreenText(std::string("a\0b", 3)), QString::fromLatin1("a\0b", 3));
}

TEST(ScreenText, EveryKindOfLineBreakIsOneBreak) {
  EXPECT_EQ(window::ScreenText("a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
  EXPECT_EQ(window::ScreenText("\r\r\n\n\r"), QStringLiteral("\n\n\n\n"));
  EXPECT_EQ(window::ScreenText("\n\r"), QStringLiteral("\n\n"));
}

}  // namespace

namespace {

TEST(ScreenText, ALineOfValidUtf8IsShownAsUtf8) {
  EXPECT_EQ(window::ScreenText("Lights \xC3\x84\xC3\x96.wad"),
            QString::fromUtf8("Lights \u00C4\u00D6.wad"));
  EXPECT_EQ(window::ScreenText("\xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBB\xBF"),
            QString::fromUtf8("\u20AC \U0001F600 \uFEFF"));
  EXPECT_EQ(window::ScreenText("\xF4\x8F\xBF\xBF"), QString::fromUtf8("\U0010FFFF"));
}

TEST(ScreenText, ALineWithAnyInvalidSequenceIsWindows1252Throughout) {
  // One stray Windows-1252 byte makes the whole line Windows-1252, also its valid sequences.
  EXPECT_EQ(window::ScreenText("\xC3\x84 caf\xE9"), QString::fromUtf8("\u00C3\u201E caf\u00E9"));
  const char* const invalid[] = {
      "\xC0\x80",          // overlong NUL
      "\xE0\x80\xAF",      // overlong "/"
      "\xED\xA0\x80",      // a surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xE2\x82",          // cut short by the line's end
      "\xC3 x",            // cut short by a space
      "\x80",              // a continuation byte alone
      "\xF8\x88\x80\x80",  // no longer UTF-8
  };
  for (const char* line : invalid) {
    QString expected;
    for (const char* byte = line; *byte != '\0'; ++byte) {
      expected += window::ScreenText(std::string(1, *byte));
    }
    EXPECT_EQ(window::ScreenText(line), expected) << line;
  }
}

// A decision line cuts the path at a fixed byte, perhaps inside a character, before ": ".
TEST(ScreenText, ACharacterCutBeforeTheVerdictIsLeftOut) {
  const std::string cuts[][2] = {
      {"Ch\xC3: Convert", "Ch: Convert"},
      {"\xC3\xA9t\xE2\x82: Ok", "\xC3\xA9t: Ok"},
      {"x\xF0\x9F\x98: Ok", "x: Ok"},
      // Not the start of any character: the line is Windows-1252.
      {"\xED\xA0: Ok", "\xC3\xAD\xC2\xA0: Ok"},
      {"\xC3\xA9\xC3 Ok", "\xC3\x83\xC2\xA9\xC3\x83 Ok"},
  };
  for (const auto& [bytes, shown] : cuts) {
    EXPECT_EQ(window::ScreenText(bytes), QString::fromUtf8(shown)) << bytes;
  }
  EXPECT_EQ(window::ScreenPosition("Ch\xC3: Ok", 3), 2);
  EXPECT_EQ(window::ScreenPosition("Ch\xC3: Ok", 4), 3);
}

TEST(ScreenText, EachLineIsDecodedOnItsOwn) {
  EXPECT_EQ(window::ScreenText("\xC3\x84\r\n\xC4\r\xC3\x96\n\xD6"),
            QString::fromUtf8("\u00C4\n\u00C4\n\u00D6\n\u00D6"));
  // A character is never split by a line break: the break ends the line first.
  EXPECT_EQ(window::ScreenText("\xC3\n\x84"), QString::fromUtf8("\u00C3\n\u201E"));
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
}

}  // namespace
