#include "window/memory/memory_window.h"

#include <gtest/gtest.h>

namespace {

class MemoryWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { window::DonePressed = false; }

  window::MemoryWindow window;
};

TEST_F(MemoryWindowTest, LoadsHiddenWithTheDesignTimeValues) {
  window.Load();
  EXPECT_TRUE(window.Loaded());
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(window.Text2(), "c:\\wads");
  EXPECT_EQ(window.Text3(), "-1");
  EXPECT_EQ(window.FileZ1().pattern, "*.*");
  EXPECT_FALSE(window.Label2Visible());
  EXPECT_FALSE(window.Command1Visible());
}

TEST_F(MemoryWindowTest, ACaretBeyondTheEndStandsAtTheEnd) {
  window.Load();
  core::TextBox& box = window.Text1();
  box.SetText("");
  core::AppendLineToTextBox(box, "abc");
  EXPECT_EQ(window.Text1Box().SelStart(), 5);
  EXPECT_EQ(window.Text1Box().SelLength(), 0);

  box.SetSelStart(2);
  box.SetSelLength(99);
  EXPECT_EQ(window.Text1Box().SelStart(), 2);
  EXPECT_EQ(window.Text1Box().SelLength(), 3);
  box.SetText("xyz");
  EXPECT_EQ(window.Text1Box().SelStart(), 0);
  EXPECT_EQ(window.Text1Box().SelLength(), 0);
}

TEST_F(MemoryWindowTest, AClickReachesDoneOnlyWhenTheUserCanSeeIt) {
  window.Load();
  window.SetCommand1Visible(true);
  EXPECT_FALSE(window.ClickDone()) << "the window is not shown";
  window.Show();
  window.SetCommand1Visible(false);
  EXPECT_FALSE(window.ClickDone()) << "the button is hidden";
  EXPECT_FALSE(window::DonePressed);
  window.SetCommand1Visible(true);
  EXPECT_TRUE(window.ClickDone());
  EXPECT_TRUE(window::DonePressed);
}

}  // namespace
