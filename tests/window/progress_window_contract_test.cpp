// What every progress window does, whether it keeps its state in memory or draws it: the same tests
// run against the memory window and the window of the build's toolkit.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/text_box.h"
#include "tests/support/host_files.h"
#include "tests/support/temporary_folder.h"
#include "tests/window/window_kinds.h"
#include "window/design.h"

namespace {

using window_testing::WindowKinds;

template <typename Kind>
class ProgressWindowContract : public ::testing::Test {
 protected:
  typename Kind::Window window;
};

TYPED_TEST_SUITE(ProgressWindowContract, WindowKinds);

TYPED_TEST(ProgressWindowContract, LoadsHiddenFromTheDesignAndUnloadDropsEverything) {
  auto& window = this->window;
  window.Load();
  EXPECT_FALSE(TypeParam::Visible(window));
  EXPECT_EQ(window.Text1().Text(), window::design::kText1);
  EXPECT_EQ(window.Text2(), window::design::kText2);
  EXPECT_EQ(window.Text3(), window::design::kText3);
  EXPECT_EQ(window.FileZ1().pattern, window::design::kFileZ1Pattern);
  EXPECT_FALSE(window.Label2Visible() || window.Command1Visible() || window.Closed());
  EXPECT_EQ(window.List1ListCount() + window.FileZ1ListCount(), 0);

  window.Text1().SetText("log");
  window.SetText2("c:\\maps");
  window.List1AddItem("castle.wad");
  window.Unload();
  EXPECT_FALSE(window.Loaded() || window.List1ListCount() > 0);
  // A control touched after unloading belongs to a freshly loaded window.
  EXPECT_EQ(window.Text1().Text() + window.Text2(),
            std::string(window::design::kText1) + window::design::kText2);
}

TYPED_TEST(ProgressWindowContract, List1KeepsTheOrderOfAddingAndHasNothingOutsideIt) {
  const std::vector<std::string> items = {"zeta.wad", "Alpha.wad", "zeta.wad", "caf\xE9.wad"};
  for (const std::string& item : items) {
    this->window.List1AddItem(item);
  }
  ASSERT_EQ(this->window.List1ListCount(), 4);
  for (int index = -1; index <= 4; ++index) {
    EXPECT_EQ(this->window.List1List(index), index >= 0 && index < 4 ? items[index] : "");
  }
}

TYPED_TEST(ProgressWindowContract, Text1GivesBackExactlyTheBytesPutIn) {
  std::string everyByte;
  for (int byte = 0; byte < 256; ++byte) {
    everyByte += static_cast<char>(byte);
  }
  const std::string mixedBreaks = "crlf\r\nlone cr\rlone lf\nend\r";
  core::TextBox& box = this->window.Text1();
  box.SetText(everyByte + mixedBreaks);
  EXPECT_EQ(box.Text(), everyByte + mixedBreaks);

  // The LF completes the CR that ended the old text.
  box.AppendText("\nnext\n\n\xE9t\xE9 \x80");
  core::AppendLineToTextBox(box, "\x93quoted\x94");
  EXPECT_EQ(box.Text(), everyByte + mixedBreaks + "\nnext\n\n\xE9t\xE9 \x80\r\n\x93quoted\x94");
}

// Done sets the flag and leaves the window open; the frame's close box hides the window without
// pressing Done.
TYPED_TEST(ProgressWindowContract, DoneAndTheCloseBoxEndAWaitEachInItsOwnWay) {
  auto& window = this->window;
  window.Show();
  window.SetCommand1Visible(true);
  TypeParam::ClickDone(window);
  window.DoEvents();
  EXPECT_TRUE(window::DonePressed && TypeParam::Visible(window) && !window.Closed());

  window::DonePressed = false;
  TypeParam::CloseByFrame(window);
  window.DoEvents();
  EXPECT_TRUE(window.Closed());
  EXPECT_FALSE(TypeParam::Visible(window) || window::DonePressed);

  // The window is hidden, not gone: the driver may go on using it until it unloads it.
  core::AppendLineToTextBox(window.Text1(), "after closing");
  window.SetText3("3");
  window.Refresh();
  EXPECT_EQ(window.Text1().Text(), std::string(window::design::kText1) + "\r\nafter closing");
  EXPECT_EQ(window.Text3(), "3");

  window.Show();
  EXPECT_FALSE(window.Closed()) << "shown again";
  TypeParam::CloseByFrame(window);
  window.Unload();
  EXPECT_FALSE(window.Closed());
}

TYPED_TEST(ProgressWindowContract, FileZ1ListsTheMatchingFilesOfItsFolderOnceReRead) {
  const test_support::TemporaryFolder folder("window-tests");
  for (const char* name : {"b.WAD", "A.wad", "c.hlwad", "notes.txt"}) {
    test_support::WriteHostFile(folder / name, "x");
  }
  window_testing::AddHiddenFile(folder.path(), "hidden.wad");
  std::filesystem::create_directory(folder / "maps.wad");

  auto& window = this->window;
  window.SetFileZ1Path(folder.path().string());
  window.SetFileZ1Pattern("*.wad");
  EXPECT_EQ(window.FileZ1ListCount(), 0) << "only a re-read fills the list";
  window.FileZ1Refresh();
  ASSERT_EQ(window.FileZ1ListCount(), 2);
  EXPECT_EQ(window.FileZ1List(0), "A.wad");
  EXPECT_EQ(window.FileZ1List(1), "b.WAD");

  window.SetFileZ1Pattern("*.*");
  window.FileZ1Refresh();
  EXPECT_EQ(window.FileZ1ListCount(), 4);

  // A folder that cannot be listed gives no names.
  window.SetFileZ1Path((folder / "missing").string());
  window.FileZ1Refresh();
  EXPECT_EQ(window.FileZ1ListCount(), 0);
  EXPECT_EQ(window.FileZ1List(0), "");
}

TYPED_TEST(ProgressWindowContract, AppendedLinesGetTheirBreakInFrontAndScrollToTheEnd) {
  const struct {
    const char* text;
    std::string line;
    const char* expected;
  } cases[] = {
      {"", "abc", "\r\nabc"},
      {"first", "second", "first\r\nsecond"},
      {"first\r\nsecond", "", "first\r\nsecond\r\n"},
      {"", core::FixedWidth("  base.wad", 12) + ": Ok", "\r\n  base.wad  : Ok"},
      {"", core::FixedWidth("c:\\a\\very-long-name.wad", 12) + ": Ok", "\r\nc:\\a\\very-lo: Ok"},
  };
  core::TextBox& box = this->window.Text1();
  for (const auto& row : cases) {
    box.SetText(row.text);
    box.SetSelStart(1);
    box.SetSelLength(1);  // the scroll to the end drops the selection
    core::AppendLineToTextBox(box, row.line);
    EXPECT_EQ(box.Text(), row.expected);
    EXPECT_TRUE(TypeParam::CaretAtEndNothingSelected(this->window)) << row.expected;
  }
}

TYPED_TEST(ProgressWindowContract, ReplacingTheTextPutsTheCaretBeforeTheFirstCharacter) {
  this->window.Show();
  core::TextBox& box = this->window.Text1();
  box.SetText("first\r\nsecond");
  core::ScrollTextBoxToEnd(box);
  ASSERT_FALSE(TypeParam::CaretAtStartNothingSelected(this->window));
  box.SetText("replaced\r\nlog");
  EXPECT_TRUE(TypeParam::CaretAtStartNothingSelected(this->window));
  // A selection that has not reached the screen yet gives way to the replacement too.
  box.SetSelStart(5);
  box.SetText("again\r\n");
  box.AppendText("and more");
  EXPECT_TRUE(TypeParam::CaretAtStartNothingSelected(this->window));
}

// Where nobody watches (the memory window when told so, Qt without a display), the log also goes
// to the echo from showing to unloading: all of it at once, then each addition.
TYPED_TEST(ProgressWindowContract, AnUnwatchedWindowEchoesItsLogWhileShown) {
  auto& window = this->window;
  if constexpr (requires { window.SetWatched(false); }) {
    window.SetWatched(false);
  }
  std::string echoed;
  window.EchoLog([&echoed](std::string_view text) { echoed += text; });
  window.Text1().SetText("early");
  EXPECT_EQ(echoed, "");
  window.Show();
  core::AppendLineToTextBox(window.Text1(), "line");
  window.Text1().AppendText("");
  window.Text1().SetText("new");
  window.Unload();
  window.Text1().AppendText("after unloading");
  EXPECT_EQ(echoed, window.Watched() ? "" : "early\r\nline\r\nnew");
}

TEST(MemoryWindow, AClickReachesDoneOnlyWhenTheUserCanSeeIt) {
  window::MemoryWindow window;
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

TEST(FixedWidth, PadsOnTheRightOrCutsToExactlyTheWidth) {
  const struct {
    std::string text;
    int width;
    std::string expected;
  } cases[] = {
      {"", 3, "   "},       {"abc", 3, "abc"},
      {"abcdef", 3, "abc"}, {"ab", 5, "ab   "},
      {"abc", 0, ""},       {"", 0, ""},
      {"abc", -4, ""},      {"  ab", 3, "  a"},
      {" a ", 5, " a   "},  {std::string("a\0b", 3), 4, std::string("a\0b ", 4)},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(core::FixedWidth(row.text, static_cast<std::int16_t>(row.width)), row.expected)
        << row.text << " to " << row.width;
  }
}

}  // namespace
