#include <gtest/gtest.h>

#include <string>

#include "core/text_box.h"
#include "tests/window/window_kinds.h"

namespace {

using window_testing::WindowKinds;

template <typename Kind>
class TextBoxHelpers : public ::testing::Test {
 protected:
  void SetUp() override { window.Load(); }

  typename Kind::Window window;
};

TYPED_TEST_SUITE(TextBoxHelpers, WindowKinds);

TYPED_TEST(TextBoxHelpers, FirstLineOfAnEmptyBoxFollowsABreak) {
  core::TextBox& box = this->window.Text1();
  box.SetText("");
  core::AppendLineToTextBox(box, "abc");
  EXPECT_EQ(box.Text(), "\r\nabc");
  EXPECT_TRUE(TypeParam::CaretAtEndNothingSelected(this->window));
}

TYPED_TEST(TextBoxHelpers, AppendedLinesGetTheirBreakInFront) {
  core::TextBox& box = this->window.Text1();
  box.SetText("first");
  core::AppendLineToTextBox(box, "second");
  EXPECT_EQ(box.Text(), "first\r\nsecond");
  core::AppendLineToTextBox(box, "");
  EXPECT_EQ(box.Text(), "first\r\nsecond\r\n");
  EXPECT_TRUE(TypeParam::CaretAtEndNothingSelected(this->window));
}

TYPED_TEST(TextBoxHelpers, ScrollingToTheEndDropsTheSelection) {
  core::TextBox& box = this->window.Text1();
  box.SetText("abcdef");
  box.SetSelStart(1);
  box.SetSelLength(3);
  EXPECT_FALSE(TypeParam::CaretAtEndNothingSelected(this->window));
  core::ScrollTextBoxToEnd(box);
  EXPECT_TRUE(TypeParam::CaretAtEndNothingSelected(this->window));
  box.SetText("");
  core::ScrollTextBoxToEnd(box);
  EXPECT_TRUE(TypeParam::CaretAtEndNothingSelected(this->window));
}

TYPED_TEST(TextBoxHelpers, ReplacingTheTextPutsTheCaretBeforeTheFirstCharacter) {
  this->window.Show();
  core::TextBox& box = this->window.Text1();
  box.SetText("first\r\nsecond");
  core::ScrollTextBoxToEnd(box);
  ASSERT_FALSE(TypeParam::CaretAtStartNothingSelected(this->window));
  box.SetText("replaced\r\nlog");
  EXPECT_TRUE(TypeParam::CaretAtStartNothingSelected(this->window));

  box.SetSelStart(2);
  box.SetSelLength(4);
  ASSERT_FALSE(TypeParam::CaretAtStartNothingSelected(this->window));
  // A selection that has not reached the screen yet gives way to the replacement too.
  box.SetSelStart(5);
  box.SetText("again\r\n");
  box.AppendText("and more");
  EXPECT_TRUE(TypeParam::CaretAtStartNothingSelected(this->window));
  EXPECT_EQ(box.Text(), "again\r\nand more");
}

TYPED_TEST(TextBoxHelpers, ColumnLinesKeepTheirPaddingInTheBox) {
  core::TextBox& box = this->window.Text1();
  box.SetText("");
  core::AppendLineToTextBox(box, core::FixedWidth("  base.wad", 12) + ": Ok");
  core::AppendLineToTextBox(box, core::FixedWidth("c:\\a\\very-long-name.wad", 12) + ": Convert");
  EXPECT_EQ(box.Text(), "\r\n  base.wad  : Ok\r\nc:\\a\\very-lo: Convert");
}

TEST(FixedWidth, PadsOnTheRightOrCuts) {
  EXPECT_EQ(core::FixedWidth("", 3), "   ");
  EXPECT_EQ(core::FixedWidth("abc", 3), "abc");
  EXPECT_EQ(core::FixedWidth("abcdef", 3), "abc");
  EXPECT_EQ(core::FixedWidth("ab", 5), "ab   ");
}

TEST(FixedWidth, WidthZeroOrBelowGivesNothing) {
  EXPECT_EQ(core::FixedWidth("abc", 0), "");
  EXPECT_EQ(core::FixedWidth("", 0), "");
  EXPECT_EQ(core::FixedWidth("abc", -4), "");
}

TEST(FixedWidth, LeadingSpacesStayAndCount) {
  EXPECT_EQ(core::FixedWidth("  ab", 3), "  a");
  EXPECT_EQ(core::FixedWidth(" a ", 5), " a   ");
  EXPECT_EQ(core::FixedWidth(std::string("a\0b", 3), 4), std::string("a\0b ", 4));
}

}  // namespace
