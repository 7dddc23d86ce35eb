#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/paths.h"

namespace {

TEST(PathWithTrailingSlash, TestsTheBackslashBeforeTrimming) {
  EXPECT_EQ(core::PathWithTrailingSlash("C:\\Program Files"), "c:\\program files\\");
  EXPECT_EQ(core::PathWithTrailingSlash("c:\\logs\\"), "c:\\logs\\");
  EXPECT_EQ(core::PathWithTrailingSlash(""), "\\");
  EXPECT_EQ(core::PathWithTrailingSlash("  c:\\a  "), "c:\\a\\");
  EXPECT_EQ(core::PathWithTrailingSlash("c:\\a\\ "), "c:\\a\\\\");
}

TEST(PathWithoutTrailingSlash, RemovesAtMostOneBackslashSeenBeforeTrimming) {
  EXPECT_EQ(core::PathWithoutTrailingSlash("C:\\Logs\\"), "c:\\logs");
  EXPECT_EQ(core::PathWithoutTrailingSlash("c:\\"), "c:");
  EXPECT_EQ(core::PathWithoutTrailingSlash(""), "");
  EXPECT_EQ(core::PathWithoutTrailingSlash("\\"), "");
  EXPECT_EQ(core::PathWithoutTrailingSlash("c:\\a\\\\"), "c:\\a\\");
  EXPECT_EQ(core::PathWithoutTrailingSlash("c:\\a\\ "), "c:\\a\\");
}

TEST(NameWithoutExtension, CutsAtTheLastFullStopAnywhereWithoutTrimming) {
  EXPECT_EQ(core::NameWithoutExtension("Castle.WAD"), "castle");
  EXPECT_EQ(core::NameWithoutExtension("base.old.wad"), "base.old");
  EXPECT_EQ(core::NameWithoutExtension("readme"), "readme");
  EXPECT_EQ(core::NameWithoutExtension(".wad"), "");
  EXPECT_EQ(core::NameWithoutExtension("x."), "x");
  EXPECT_EQ(core::NameWithoutExtension(""), "");
  EXPECT_EQ(core::NameWithoutExtension("c:\\my.dir\\file"), "c:\\my");
  EXPECT_EQ(core::NameWithoutExtension(" a.b "), " a");
}

TEST(NameWithoutExtension, OverflowsForAFullStopBeyondPosition32767) {
  EXPECT_EQ(core::NameWithoutExtension(std::string(32766, 'a') + ".b"), std::string(32766, 'a'));
  EXPECT_THROW(core::NameWithoutExtension(std::string(32767, 'a') + ".b"), std::overflow_error);
}

TEST(PathRoutines, LowerCaseOnlyTheirOwnCopy) {
  std::string path = "C:\\MiXeD\\";
  EXPECT_EQ(core::PathWithTrailingSlash(path), "c:\\mixed\\");
  EXPECT_EQ(path, "C:\\MiXeD\\");
  core::LowerCaseInPlace(path);
  EXPECT_EQ(path, "c:\\mixed\\");
  std::string high = "\xC4Z";
  core::LowerCaseInPlace(high);
  EXPECT_EQ(high, "\xC4z");
}

TEST(Quoted, WrapsWithoutEscaping) {
  EXPECT_EQ(core::Quoted(""), "\"\"");
  EXPECT_EQ(core::Quoted("a \"b\""), "\"a \"b\"\"");
}

}  // namespace
