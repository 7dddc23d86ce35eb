#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/text.h"

namespace {

TEST(NameParts, CutAtTheLastSeparatorAndLowerCase) {
  EXPECT_EQ(core::ExtensionOfName("Level1.MAP"), ".map");
  EXPECT_EQ(core::ExtensionOfName("c:\\maps\\level1"), "");
  EXPECT_EQ(core::ExtensionOfName("c:\\my.maps\\level1"), ".maps\\level1");
  EXPECT_EQ(core::ExtensionOfName("level1."), ".");
}

TEST(NameParts, OverflowWhereThePositionNoLongerFits16Bits) {
  EXPECT_EQ(core::ExtensionOfName(std::string(32766, 'a') + ".x"), ".x");
  const std::string beyond = std::string(32767, 'a') + "\\.x";
  EXPECT_THROW(core::ExtensionOfName(beyond), std::overflow_error);
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
