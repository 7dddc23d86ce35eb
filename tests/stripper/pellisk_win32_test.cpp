// pellisk on Windows: the rewritten map keeps the attributes the user gave it.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/stripper/pellisk_run.h"

namespace stripper_test {
namespace {

TEST_F(PelliskTest, KeepsTheMapsAttributes) {
  constexpr DWORD kSet = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  test_support::WriteHostFile(work_ / "Level1.map", kKeyed);
  const std::wstring map = (work_ / "Level1.map").wstring();
  ASSERT_NE(SetFileAttributesW(map.c_str(), kSet), 0);
  EXPECT_EQ(Pellisk({"level1"}).exitCode, 0);
  EXPECT_EQ(GetFileAttributesW(map.c_str()) & (kSet | FILE_ATTRIBUTE_READONLY), kSet);
  EXPECT_EQ(Files(), (Contents{{"Level1.map", kStripped}}));
}

}  // namespace
}  // namespace stripper_test
