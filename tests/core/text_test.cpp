#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/text.h"

namespace {

TEST(NameParts, CutAtTheLastSeparatorAndLowerCase) {
  EXPECT_EQ(core::NameWithoutPath("C:\\Maps\\Level1.MAP"), "level1.map");
  EXPECT_EQ(core::NameWithoutPath("Level1.MAP"), "level1.map");
  EXPECT_EQ(core::NameWithoutPath("c:\\maps\\"), "");
  EXPECT_EQ(core::PathWithoutName("C:\\Maps\\Level1.MAP"), "c:\\maps\\");
  EXPECT_EQ(core::PathWithoutName("Level1.MAP"), "level1.map");
  EXPECT_EQ(core::PathWithoutName("\\"), "\\");
  EXPECT_EQ(core::ExtensionOfName("Level1.MAP"), ".map");
  EXPECT_EQ(core::ExtensionOfName("c:\\maps\\level1"), "");
  EXPECT_EQ(core::ExtensionOfName("c:\\my.maps\\level1"), ".maps\\level1");
  EXPECT_EQ(core::ExtensionOfName("level1."), ".");
}

TEST(NameParts, OverflowWhereThePositionNoLongerFits16Bits) {
  const std::string at32767 = std::string(32766, 'a') + "\\x";
  EXPECT_THROW(core::NameWithoutPath(at32767), std::overflow_error);
  EXPECT_EQ(core::PathWithoutName(at32767), std::string(32766, 'a') + "\\");
  const std::string beyond = std::string(32767, 'a') + "\\.x";
  EXPECT_THROW(core::PathWithoutName(beyond), std::overflow_error);
  EXPECT_THROW(core::ExtensionOfName(beyond), std::overflow_error);
}

TEST(TextBetweenPositions, ClampsToTheTextAndRejectsPositionsBelowOne) {
  EXPECT_EQ(core::TextBetweenPositions("abcdef", 2, 4), "bcd");
  EXPECT_EQ(core::TextBetweenPositions("abc", 3, 2), "");
  EXPECT_EQ(core::TextBetweenPositions("abc", 2, 10), "bc");
  EXPECT_EQ(core::TextBetweenPositions("abc", 5, 6), "");
  EXPECT_EQ(core::TextBetweenPositions("abc", 2, 2), "b");
  EXPECT_EQ(core::TextBetweenPositions("abc", 0, -1), "");
  EXPECT_THROW(core::TextBetweenPositions("abc", 0, 2), std::invalid_argument);
  EXPECT_THROW(core::TextBetweenPositions("abc", -2147483647 + 1, 2147483647),
               std::invalid_argument);
}

TEST(CaseInsensitiveEnds, CompareLowerCasedText) {
  EXPECT_TRUE(core::StartsWithIgnoringCase("Level1.MAP", "LEVEL"));
  EXPECT_FALSE(core::StartsWithIgnoringCase("ab", "abc"));
  EXPECT_TRUE(core::StartsWithIgnoringCase("anything", ""));
  EXPECT_TRUE(core::EndsWithIgnoringCase("Level1.MAP", ".map"));
  EXPECT_FALSE(core::EndsWithIgnoringCase("ap", ".map"));
}

TEST(TextWithoutEnclosingDelimiters, RemovesEachEndOnItsOwn) {
  const std::string q = "\"";
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("\"C:\\a b.map\"", q), "C:\\a b.map");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("\"abc", q), "abc");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("abc\"", q), "abc");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("\"", q), "");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("\"\"", q), "");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("a\"b", q), "a\"b");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("\"\"x\"\"", q), "\"x\"");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("[abc]", "[", "]"), "abc");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("[abc", "[", "]"), "abc");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("abc]", "[", "]"), "abc");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("[abc]", "["), "abc]");
  EXPECT_EQ(core::TextWithoutEnclosingDelimiters("ABcdAB", "ab"), "cd");
}

}  // namespace
