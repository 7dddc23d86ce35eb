#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/text_box.h"
#include "tests/window/window_kinds.h"

namespace {

using window_testing::WindowKinds;

template <typename Kind>
class WindowLifecycle : public ::testing::Test {
 protected:
  void SetUp() override { window::DonePressed = false; }

  // The end state of a run with failures: shown, banner and Done visible.
  void ShowErrorEnd() {
    window.Load();
    window.Show();
    window.SetLabel2Visible(true);
    window.SetCommand1Visible(true);
  }

  typename Kind::Window window;
};

TYPED_TEST_SUITE(WindowLifecycle, WindowKinds);

TYPED_TEST(WindowLifecycle, LoadStartsFromTheDesignAndUnloadDropsEverything) {
  this->window.Load();
  EXPECT_EQ(this->window.Text1().Text(), "Beginning Conversion ...\r\n");
  EXPECT_EQ(this->window.List1ListCount(), 0);
  EXPECT_EQ(this->window.FileZ1ListCount(), 0);
  EXPECT_FALSE(this->window.Closed());

  this->window.Text1().SetText("log");
  this->window.List1AddItem("castle.wad");
  this->window.Unload();
  EXPECT_EQ(this->window.List1ListCount(), 0);
  // A control touched after unloading belongs to a freshly loaded window.
  EXPECT_EQ(this->window.Text1().Text(), "Beginning Conversion ...\r\n");
}

TYPED_TEST(WindowLifecycle, List1KeepsTheOrderOfAdding) {
  this->window.Load();
  this->window.List1AddItem("zeta.wad");
  this->window.List1AddItem("Alpha.wad");
  this->window.List1AddItem("zeta.wad");
  ASSERT_EQ(this->window.List1ListCount(), 3);
  EXPECT_EQ(this->window.List1List(0), "zeta.wad");
  EXPECT_EQ(this->window.List1List(1), "Alpha.wad");
  EXPECT_EQ(this->window.List1List(2), "zeta.wad");
  EXPECT_EQ(this->window.List1List(3), "");
  EXPECT_EQ(this->window.List1List(-1), "");
}

TYPED_TEST(WindowLifecycle, Text1GivesBackExactlyTheBytesPutIn) {
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

TYPED_TEST(WindowLifecycle, DoneSetsTheFlagAndLeavesTheWindowOpen) {
  this->ShowErrorEnd();
  TypeParam::ClickDone(this->window);
  this->window.DoEvents();
  EXPECT_TRUE(window::DonePressed);
  EXPECT_TRUE(TypeParam::Visible(this->window));
  EXPECT_FALSE(this->window.Closed());
}

TYPED_TEST(WindowLifecycle, ClosingThroughTheFrameHidesWithoutPressingDone) {
  this->ShowErrorEnd();
  TypeParam::CloseByFrame(this->window);
  this->window.DoEvents();
  EXPECT_TRUE(this->window.Closed());
  EXPECT_FALSE(TypeParam::Visible(this->window));
  EXPECT_FALSE(window::DonePressed);

  // The window is hidden, not gone: the driver may go on using it until it unloads it.
  core::AppendLineToTextBox(this->window.Text1(), "after closing");
  this->window.Refresh();
  EXPECT_EQ(this->window.Text1().Text(), "Beginning Conversion ...\r\n\r\nafter closing");

  this->window.Unload();
  EXPECT_FALSE(this->window.Closed());
}

}  // namespace

namespace {

// A folder of its own under the system's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("window-tests-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  void Add(const std::string& name) const { std::ofstream(path_ / name) << "x"; }
  std::string Path() const { return path_.string(); }
  const std::filesystem::path& Host() const { return path_; }

 private:
  std::filesystem::path path_;
};

template <typename Kind>
class FileZ1 : public ::testing::Test {
 protected:
  typename Kind::Window window;
  TempFolder folder;
};

TYPED_TEST_SUITE(FileZ1, WindowKinds);

TYPED_TEST(FileZ1, ListsTheMatchingFilesOfItsFolderByName) {
  for (const char* name : {"b.WAD", "A.wad", "c.hlwad", "notes.txt"}) {
    this->folder.Add(name);
  }
  window_testing::AddHiddenFile(this->folder.Host(), "hidden.wad");
  std::filesystem::create_directory(this->folder.Host() / "maps.wad");

  this->window.Load();
  this->window.SetFileZ1Path(this->folder.Path());
  this->window.SetFileZ1Pattern("*.wad");
  EXPECT_EQ(this->window.FileZ1ListCount(), 0) << "only a re-read fills the list";
  this->window.FileZ1Refresh();
  ASSERT_EQ(this->window.FileZ1ListCount(), 2);
  EXPECT_EQ(this->window.FileZ1List(0), "A.wad");
  EXPECT_EQ(this->window.FileZ1List(1), "b.WAD");

  this->window.SetFileZ1Pattern("*.*");
  this->window.FileZ1Refresh();
  EXPECT_EQ(this->window.FileZ1ListCount(), 4);
}

TYPED_TEST(FileZ1, AFolderThatCannotBeListedGivesNoNames) {
  this->folder.Add("a.wad");
  this->window.Load();
  this->window.SetFileZ1Path(this->folder.Path());
  this->window.SetFileZ1Pattern("*.wad");
  this->window.FileZ1Refresh();
  ASSERT_EQ(this->window.FileZ1ListCount(), 1);

  this->window.SetFileZ1Path(this->folder.Path() + "/missing");
  this->window.FileZ1Refresh();
  EXPECT_EQ(this->window.FileZ1ListCount(), 0);
  EXPECT_EQ(this->window.FileZ1List(0), "");
}

}  // namespace
