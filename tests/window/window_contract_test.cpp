// What every progress window does, run against the memory window and the toolkit's window; and
// what a window that draws shows its user, the same for every toolkit.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "core/text_box.h"
#include "tests/support/host_files.h"
#include "tests/support/temporary_folder.h"
#include "tests/window/window_kinds.h"
#include "window/design.h"

namespace {

using window_testing::Control;
using window_testing::Key;
using Kind = window_testing::ToolkitKind;

template <typename Kind>
class ProgressWindowContract : public ::testing::Test {
 protected:
  typename Kind::Window window;
};

TYPED_TEST_SUITE(ProgressWindowContract, window_testing::WindowKinds);

TYPED_TEST(ProgressWindowContract, LoadsHiddenFromTheDesignKeepsList1sOrderAndUnloadDropsAll) {
  namespace design = window::design;
  auto& window = this->window;
  window.Load();
  EXPECT_FALSE(TypeParam::Visible(window));
  EXPECT_EQ(window.Text1().Text() + window.Text2() + window.Text3() + window.FileZ1().pattern,
            std::string(design::kText1) + design::kText2 + design::kText3 + design::kFileZ1Pattern);
  EXPECT_FALSE(window.Label2Visible() || window.Command1Visible() || window.Closed());
  EXPECT_EQ(window.List1ListCount() + window.FileZ1ListCount(), 0);

  const std::vector<std::string> items = {"zeta.wad", "Alpha.wad", "zeta.wad", "caf\xE9.wad"};
  for (const std::string& item : items) {
    window.List1AddItem(item);
  }
  ASSERT_EQ(window.List1ListCount(), 4);
  for (int index = -1; index <= 4; ++index) {
    EXPECT_EQ(window.List1List(index), index >= 0 && index < 4 ? items[index] : "");
  }
  window.Text1().SetText("log");
  window.SetText2("c:\\maps");
  window.Unload();
  EXPECT_FALSE(window.Loaded() || window.List1ListCount() > 0);
  // A control touched after unloading belongs to a freshly loaded window.
  EXPECT_EQ(window.Text1().Text() + window.Text2(), std::string(design::kText1) + design::kText2);
}

TYPED_TEST(ProgressWindowContract, FileZ1ListsTheMatchingFilesOfItsFolderOnceReRead) {
  auto& window = this->window;
  const test_support::TemporaryFolder folder("window-tests");
  for (const char* name : {"b.WAD", "A.wad", "c.hlwad", "notes.txt"}) {
    test_support::WriteHostFile(folder / name, "x");
  }
  std::filesystem::create_directory(folder / "maps.wad");
  window.SetFileZ1Path(folder.path().string());
  window.SetFileZ1Pattern("*.wad");
  EXPECT_EQ(window.FileZ1ListCount(), 0);
  window.FileZ1Refresh();
  ASSERT_EQ(window.FileZ1ListCount(), 2);
  EXPECT_EQ(window.FileZ1List(0) + window.FileZ1List(1), "A.wadb.WAD");
  window.SetFileZ1Pattern("*.*");
  window.FileZ1Refresh();
  EXPECT_EQ(window.FileZ1ListCount(), 4);
  window.SetFileZ1Path((folder / "missing").string());
  window.FileZ1Refresh();
  EXPECT_EQ(window.FileZ1ListCount(), 0);
}

// Text1 gives back exactly the bytes put in; an appended line gets its break in front and scrolls
// to the end, which drops the selection; replacing the text puts the caret before its start.
TYPED_TEST(ProgressWindowContract, Text1KeepsItsBytesAndAnAppendedLineScrollsToTheEnd) {
  this->window.Show();
  std::string everyByte(256, '\0');
  std::iota(everyByte.begin(), everyByte.end(), '\0');
  const std::string cases[][3] = {
      {"", "", "abc"},
      {"first\r\nsecond", "", ""},
      // The LF completes the CR that ended the old text.
      {everyByte + "crlf\r\nlone cr\rlone lf\nend\r", "\nnext\n\n\xE9t\xE9 \x80", "\x93quoted\x94"},
  };
  core::TextBox& box = this->window.Text1();
  for (const auto& [text, addition, line] : cases) {
    box.SetText(text);
    EXPECT_EQ(box.Text(), text);
    box.SetSelStart(1);
    box.SetSelLength(1);
    box.AppendText(addition);
    core::AppendLineToTextBox(box, line);
    EXPECT_EQ(box.Text(), text + addition + "\r\n" + line);
    EXPECT_TRUE(TypeParam::CaretAtEndNothingSelected(this->window)) << line;
  }
  box.SetText("replaced\r\nlog");
  EXPECT_TRUE(TypeParam::CaretAtStartNothingSelected(this->window));
  // A selection that has not reached the screen yet gives way to the replacement too.
  box.SetSelStart(5);
  box.SetText("again\r\n");
  box.AppendText("and more");
  EXPECT_TRUE(TypeParam::CaretAtStartNothingSelected(this->window));
}

// Done sets the flag and leaves the window open, but only a Done the user can see takes a click;
// the frame's close box hides the window without pressing Done.
TYPED_TEST(ProgressWindowContract, DoneAndTheCloseBoxEndAWaitEachInItsOwnWay) {
  auto& window = this->window;
  window.Show();
  TypeParam::ClickDone(window);
  window.DoEvents();
  EXPECT_FALSE(window::DonePressed) << "Done is hidden";
  window.SetCommand1Visible(true);
  TypeParam::ClickDone(window);
  window.DoEvents();
  EXPECT_TRUE(window::DonePressed && TypeParam::Visible(window) && !window.Closed());

  window::DonePressed = false;
  TypeParam::CloseByFrame(window);
  TypeParam::ClickDone(window);
  window.DoEvents();
  EXPECT_TRUE(window.Closed());
  EXPECT_FALSE(TypeParam::Visible(window) || window::DonePressed);

  // The window is hidden, not gone: the driver may go on using it until it unloads it.
  core::AppendLineToTextBox(window.Text1(), "after closing");
  window.Refresh();
  EXPECT_EQ(window.Text1().Text(), std::string(window::design::kText1) + "\r\nafter closing");

  window.Show();
  EXPECT_FALSE(window.Closed()) << "shown again";
  TypeParam::CloseByFrame(window);
  window.Unload();
  EXPECT_FALSE(window.Closed());
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

TEST(FixedWidth, PadsOnTheRightOrCutsToExactlyTheWidth) {
  EXPECT_EQ(core::FixedWidth(std::string("a\0b", 3), 5), std::string("a\0b  ", 5));
  EXPECT_EQ(core::FixedWidth("c:\\a\\very-long-name.wad", 12), "c:\\a\\very-lo");
  EXPECT_EQ(core::FixedWidth("abc", 0) + core::FixedWidth("abc", -4), "");
}

std::u16string Widened(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

class DrawnWindowContract : public ::testing::Test {
 protected:
  void SetUp() override { window.Load(); }
  Kind::Window window;
};

// The design's caption, size and texts; at the end of a failed run the user sees every control but
// the two lists, inside the form and none hiding another.
TEST_F(DrawnWindowContract, ShowsTheDesignAndAFailedRunsEndWithNothingHidden) {
  namespace design = window::design;
  EXPECT_EQ(Kind::Caption(window), Widened(design::kCaption));
  const std::pair<Control, const char*> texts[] = {{Control::Command1, design::kCommand1},
                                                   {Control::Text3, design::kText3},
                                                   {Control::Text2, design::kText2},
                                                   {Control::Label2, design::kLabel2},
                                                   {Control::Label1Dir, design::kLabel1Directory},
                                                   {Control::Label1Count, design::kLabel1Count}};
  for (const auto& [control, text] : texts) {
    EXPECT_EQ(Kind::Shown(window, control), Widened(text)) << text;
  }
  window.List1AddItem("castle.wad");
  window.Show();
  window.DoEvents();
  EXPECT_FALSE(Kind::Visible(window, Control::Label2) || Kind::Visible(window, Control::Command1));
  window.SetLabel2Visible(true);
  window.SetCommand1Visible(true);
  window.DoEvents();
  const auto client = Kind::Client(window);
  EXPECT_EQ(client.right, design::kClientWidth / design::kTwipsPerPixel);
  EXPECT_EQ(client.bottom, design::kClientHeight / design::kTwipsPerPixel);
  const auto place = [this](Control control) { return Kind::PlaceOf(window, control); };
  for (const Control a : window_testing::kControls) {
    const bool seen = a != Control::List1 && a != Control::FileZ1;
    EXPECT_EQ(Kind::Visible(window, a), seen) << static_cast<int>(a);
    const auto p = place(a);
    EXPECT_TRUE(!seen ||
                (p.left >= 0 && p.top >= 0 && p.right <= client.right && p.bottom <= client.bottom))
        << static_cast<int>(a);
    for (const Control b : window_testing::kControls) {
      const auto q = place(b);
      EXPECT_FALSE(a < b && seen && b != Control::FileZ1 && p.left < q.right && q.left < p.right &&
                   p.top < q.bottom && q.top < p.bottom)
          << static_cast<int>(a) << " overlaps " << static_cast<int>(b);
    }
  }
  const auto log = place(Control::Text1);
  EXPECT_GT(2 * (log.right - log.left), client.right) << "the log fills the form";
  EXPECT_GE(std::min(place(Control::Command1).top, place(Control::Label2).top), log.bottom);
}

// Bytes that are no UTF-8 show as Windows-1252, UTF-8 names as their characters; a character that
// a decision line cut before its ": " is left out; each kind of line break is one break. A line may
// be shown before all of it has come; in the end the screen shows the same in whatever pieces it
// came and however often the window was drawn in between.
TEST_F(DrawnWindowContract, ShowsTheBytesAsCharactersInWhateverPiecesTheyCame) {
  const std::string text =
      "caf\xE9 \x80\r\nlone cr\rlone lf\nend\r\r\nLights \xC3\x84\xC3\x96.wad "
      "\xF0\x9F\x98\x80\nCh\xC3: Ok\r\n\xC3\x96";
  const std::u16string shown =
      u"caf\u00e9 \u20ac\nlone cr\nlone lf\nend\n\nLights \u00c4\u00d6.wad \U0001F600\nCh: Ok\n"
      u"\u00d6";
  core::TextBox& box = window.Text1();
  for (const std::size_t piece : {text.size(), std::size_t{1}, std::size_t{2}, std::size_t{3},
                                  std::size_t{5}, std::size_t{7}}) {
    box.SetText("");
    for (std::size_t at = 0, end = 0; at < text.size(); at = end) {
      end = std::min(at + piece, text.size());
      box.AppendText(std::string_view(text).substr(at, end - at));
      if (at % 2 == 0) {
        window.Refresh();
      }
    }
    EXPECT_EQ(Kind::Shown(window, Control::Text1), shown) << piece;
  }
  window.SetText2("c:\\caf\xE9");
  window.SetText3("\xD0\x94\xD0\xBE\xD0\xBC");
  EXPECT_EQ(Kind::Shown(window, Control::Text2), u"c:\\caf\u00e9");
  EXPECT_EQ(Kind::Shown(window, Control::Text3), u"\u0414\u043e\u043c");
}

// Positions count bytes, a CR LF pair as two; the screen selects whole characters.
TEST_F(DrawnWindowContract, ASelectionCoversTheCharactersOfItsBytes) {
  const char* const mixed = "\xC3\x84\xC3\x96\r\n\xF0\x9F\x98\x80x\r\n\xC4\xD6";
  const std::tuple<const char*, int, int, const char16_t*> cases[] = {
      {"ab\r\ncd\ref", 3, 3, u"cd"}, {"ab\r\ncd\ref", 7, 100, u"ef"}, {"Ch\xC3: Ok", 2, 3, u": "},
      {mixed, 2, 2, u"\u00d6"},      {mixed, 13, 1, u"\u00c4"},       {mixed, 6, 5, u"\U0001F600x"},
  };
  core::TextBox& box = window.Text1();
  for (const auto& [text, start, length, selected] : cases) {
    box.SetText(text);
    box.SetSelStart(start);
    box.SetSelLength(length);
    EXPECT_EQ(Kind::Selected(window), selected) << start;
  }
  box.AppendText("\r\ngh");
  EXPECT_EQ(Kind::Selected(window), u"\U0001F600x") << "appending keeps the selection";
  box.SetText("ab\r\ncd");
  box.SetSelStart(4);
  box.SetSelLength(2);
  EXPECT_EQ(Kind::Selected(window), u"cd");
  for (const char* piece : {"e\xC3", "\x84"}) {
    box.AppendText(piece);
    EXPECT_EQ(Kind::Selected(window), u"cd") << "appending to the selected line keeps it";
  }
  box.SetSelStart(-3);
  EXPECT_TRUE(Kind::CaretAtStartNothingSelected(window));
}

TEST_F(DrawnWindowContract, ALongLogReachesTheScreenWholeAndTheCaretStaysInView) {
  window.Show();
  core::TextBox& box = window.Text1();
  box.SetText("");
  std::u16string shown;
  for (int count = 1; count <= 1000; ++count) {
    core::AppendLineToTextBox(box, std::string(40, 'x'));
    shown += u'\n' + std::u16string(40, u'x');
    if (count % 100 == 0) {
      window.Refresh();
    }
  }
  EXPECT_EQ(Kind::Shown(window, Control::Text1), shown);
  EXPECT_GT(Kind::TopLine(window), 900);
  box.SetSelStart(0);
  EXPECT_EQ(Kind::TopLine(window), 0);
}

// After a failed run Done is the default button: Return presses it, also from the log box, where a
// click may have put the focus, and so does Alt+D; Escape never does.
TEST_F(DrawnWindowContract, TheKeysPressDoneOnlyOnceItShows) {
  window.Show();
  Kind::Press(window, Control::Text1, Key::Return);
  EXPECT_FALSE(window::DonePressed);
  window.SetCommand1Visible(true);
  window.DoEvents();
  Kind::Press(window, Control::Command1, Key::Escape);
  EXPECT_FALSE(window::DonePressed || window.Closed());
  for (const auto& [control, key] :
       {std::pair{Control::Command1, Key::Return}, std::pair{Control::Text1, Key::Return},
        std::pair{Control::Text1, Key::AltD}}) {
    window::DonePressed = false;
    Kind::Press(window, control, key);
    EXPECT_TRUE(window::DonePressed) << static_cast<int>(control) << static_cast<int>(key);
  }
  EXPECT_TRUE(Kind::Visible(window));
}

// An idle turn of the event loop waits for events rather than spinning, but never long enough for
// a click or a key to lag.
TEST_F(DrawnWindowContract, AnIdleTurnOfTheEventLoopWaitsAboutFiftyMilliseconds) {
  window.Show();
  window.DoEvents();
  const auto start = std::chrono::steady_clock::now();
  for (int turn = 0; turn < 5; ++turn) {
    window.DoEvents();
  }
  const auto idle = std::chrono::steady_clock::now() - start;
  EXPECT_GT(idle, std::chrono::milliseconds(5 * 20));
  EXPECT_LT(idle, std::chrono::milliseconds(5 * 150));
}

}  // namespace
