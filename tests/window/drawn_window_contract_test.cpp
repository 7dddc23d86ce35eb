// What a window that draws shows its user, the same for every toolkit: the design's texts, a layout
// in which nothing hides anything, the log's bytes as characters, the keys of a dialog and an event
// loop that neither spins nor lags.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/text_box.h"
#include "tests/window/window_kinds.h"
#include "window/design.h"

namespace {

using window_testing::Control;
using window_testing::Key;
using window_testing::Place;

// A design text as shown: ASCII, each CR LF one break.
std::u16string Shown(std::string_view text) {
  std::u16string shown;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text.substr(at, 2) != "\r\n") {
      shown += static_cast<char16_t>(text[at]);
    }
  }
  return shown;
}

bool Inside(const Place& inner, const Place& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const Place& a, const Place& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

template <typename Kind>
class DrawnWindowContract : public ::testing::Test {
 protected:
  void SetUp() override { window.Load(); }

  Place PlaceOf(Control control) { return Kind::PlaceOf(window, control); }

  typename Kind::Window window;
};

TYPED_TEST_SUITE(DrawnWindowContract, window_testing::DrawnKinds);

TYPED_TEST(DrawnWindowContract, ShowsTheDesignsCaptionSizeAndTexts) {
  namespace design = window::design;
  auto& window = this->window;
  EXPECT_EQ(TypeParam::Caption(window), Shown(design::kCaption));
  const Place client = TypeParam::Client(window);
  EXPECT_EQ(client.right - client.left, design::kClientWidth / design::kTwipsPerPixel);
  EXPECT_EQ(client.bottom - client.top, design::kClientHeight / design::kTwipsPerPixel);
  const std::pair<Control, const char*> texts[] = {
      {Control::Command1, design::kCommand1},
      {Control::Text3, design::kText3},
      {Control::Text2, design::kText2},
      {Control::Text1, design::kText1},
      {Control::Label2, design::kLabel2},
      {Control::Label1Dir, design::kLabel1Directory},
      {Control::Label1Count, design::kLabel1Count},
  };
  for (const auto& [control, text] : texts) {
    EXPECT_EQ(TypeParam::Shown(window, control), Shown(text)) << text;
  }
}

TYPED_TEST(DrawnWindowContract, ControlsLieInTheFormWithoutHidingEachOther) {
  const std::vector<Control> all(std::begin(window_testing::kControls),
                                 std::end(window_testing::kControls));
  EXPECT_EQ(TypeParam::CreationOrder(this->window), all);
  const Place client = TypeParam::Client(this->window);
  // At the end of a failed run the user sees all but the two hidden lists.
  const auto seen = [](Control c) { return c != Control::List1 && c != Control::FileZ1; };
  for (const Control control : all) {
    EXPECT_TRUE(!seen(control) || Inside(this->PlaceOf(control), client))
        << static_cast<int>(control);
  }
  for (const Control a : all) {
    for (const Control b : all) {
      if (a < b && seen(a) && seen(b)) {
        EXPECT_FALSE(Overlap(this->PlaceOf(a), this->PlaceOf(b)))
            << static_cast<int>(a) << " " << static_cast<int>(b);
      }
    }
  }
  const Place log = this->PlaceOf(Control::Text1);
  EXPECT_GT(2 * (log.right - log.left), client.right - client.left) << "the log fills the form";
  for (const Control below : {Control::Command1, Control::Label2}) {
    EXPECT_GE(this->PlaceOf(below).top, log.bottom);
  }
  EXPECT_LT(this->PlaceOf(Control::Label2).right, this->PlaceOf(Control::Command1).left);
  for (const auto& [caption, box] : {std::pair{Control::Label1Dir, Control::Text2},
                                     std::pair{Control::Label1Count, Control::Text3}}) {
    EXPECT_LE(this->PlaceOf(caption).right, this->PlaceOf(box).left);
    EXPECT_LE(this->PlaceOf(box).bottom, log.top);
  }
}

TYPED_TEST(DrawnWindowContract, OnlyWhatIsMadeVisibleAppears) {
  auto& window = this->window;
  window.List1AddItem("castle.wad");
  window.FileZ1Refresh();
  window.Show();
  window.DoEvents();
  EXPECT_TRUE(TypeParam::Visible(window));
  for (const Control control : window_testing::kControls) {
    const bool hidden = control == Control::List1 || control == Control::FileZ1 ||
                        control == Control::Label2 || control == Control::Command1;
    EXPECT_EQ(TypeParam::Visible(window, control), !hidden) << static_cast<int>(control);
  }
  window.SetLabel2Visible(true);
  window.SetCommand1Visible(true);
  window.DoEvents();
  EXPECT_TRUE(TypeParam::Visible(window, Control::Label2));
  EXPECT_TRUE(TypeParam::Visible(window, Control::Command1));
  EXPECT_FALSE(TypeParam::Visible(window, Control::List1));
  EXPECT_FALSE(TypeParam::Visible(window, Control::FileZ1));
}

// Bytes that are no UTF-8 show as Windows-1252, UTF-8 names as their characters; a character that
// a decision line cut before its ": " is left out. Each kind of line break is one break.
TYPED_TEST(DrawnWindowContract, ShowsTheBytesAsCharactersAndEachBreakAsOne) {
  auto& window = this->window;
  core::TextBox& box = window.Text1();
  box.SetText("caf\xE9 \x80\r\nlone cr\rlone lf\nend\r");
  EXPECT_EQ(TypeParam::Shown(window, Control::Text1), u"caf\u00e9 \u20ac\nlone cr\nlone lf\nend\n");
  box.AppendText("\nLights \xC3\x84\xC3\x96.wad \xF0\x9F\x98\x80\r\nCh\xC3: Ok");
  EXPECT_EQ(TypeParam::Shown(window, Control::Text1),
            u"caf\u00e9 \u20ac\nlone cr\nlone lf\nend\nLights \u00c4\u00d6.wad \U0001F600\nCh: Ok");
  window.SetText2("c:\\caf\xE9");
  window.SetText3("\xD0\x94\xD0\xBE\xD0\xBC");
  window.List1AddItem("\x80.wad");
  window.List1AddItem("\xC3\x84.wad");
  EXPECT_EQ(TypeParam::Shown(window, Control::Text2), u"c:\\caf\u00e9");
  EXPECT_EQ(TypeParam::Shown(window, Control::Text3), u"\u0414\u043e\u043c");
  EXPECT_EQ(TypeParam::Shown(window, Control::List1), u"\u20ac.wad\n\u00c4.wad");
}

// Positions count bytes, a CR LF pair as two; the screen selects whole characters.
TYPED_TEST(DrawnWindowContract, ASelectionCoversTheCharactersOfItsBytes) {
  auto& window = this->window;
  core::TextBox& box = window.Text1();
  const struct {
    const char* text;
    int start;
    int length;
    const char16_t* selected;
  } cases[] = {
      {"ab\r\ncd\ref", 4, 2, u"cd"},
      {"ab\r\ncd\ref", 7, 100, u"ef"},
      {"\xC3\x84\xC3\x96\r\n\xF0\x9F\x98\x80x\r\n\xC4\xD6", 2, 2, u"\u00d6"},
      {"\xC3\x84\xC3\x96\r\n\xF0\x9F\x98\x80x\r\n\xC4\xD6", 13, 1, u"\u00c4"},
      {"\xC3\x84\xC3\x96\r\n\xF0\x9F\x98\x80x\r\n\xC4\xD6", 6, 5, u"\U0001F600x"},
  };
  for (const auto& row : cases) {
    box.SetText(row.text);
    box.SetSelStart(row.start);
    box.SetSelLength(row.length);
    EXPECT_EQ(TypeParam::Selected(window), row.selected) << row.start;
  }
  box.AppendText("\r\ngh");
  EXPECT_EQ(TypeParam::Selected(window), u"\U0001F600x") << "appending leaves the selection alone";
  box.SetSelStart(-3);
  EXPECT_TRUE(TypeParam::CaretAtStartNothingSelected(window));
}

TYPED_TEST(DrawnWindowContract, ALongLogReachesTheScreenWholeAndTheCaretStaysInView) {
  auto& window = this->window;
  window.Show();
  core::TextBox& box = window.Text1();
  box.SetText("");
  std::u16string shown;
  const std::string line(40, 'x');
  for (int count = 1; count <= 1000; ++count) {
    core::AppendLineToTextBox(box, line);
    shown += u'\n' + Shown(line);
    if (count % 100 == 0) {
      window.Refresh();
    }
  }
  EXPECT_EQ(TypeParam::Shown(window, Control::Text1), shown);
  EXPECT_GT(TypeParam::TopLine(window), 900);
  box.SetSelStart(0);
  EXPECT_EQ(TypeParam::TopLine(window), 0);
}

// After a failed run Done has the focus and is the default button: Return presses it, also from
// the log box, where a click may have put the focus, and so does Alt+D; Escape never does.
TYPED_TEST(DrawnWindowContract, TheKeysPressDoneOnlyOnceItShows) {
  auto& window = this->window;
  window.Show();
  TypeParam::Press(window, Control::Text1, Key::Return);
  EXPECT_FALSE(window::DonePressed);
  window.SetCommand1Visible(true);
  window.DoEvents();
  EXPECT_TRUE(TypeParam::Focused(window, Control::Command1));
  TypeParam::Press(window, Control::Command1, Key::Escape);
  EXPECT_FALSE(window::DonePressed || window.Closed());
  for (const auto& [control, key] :
       {std::pair{Control::Command1, Key::Return}, std::pair{Control::Text1, Key::Return},
        std::pair{Control::Text1, Key::AltD}}) {
    window::DonePressed = false;
    TypeParam::Press(window, control, key);
    EXPECT_TRUE(window::DonePressed) << static_cast<int>(control) << static_cast<int>(key);
  }
  EXPECT_TRUE(TypeParam::Visible(window));
}

TYPED_TEST(DrawnWindowContract, WaitingForEventsIsBoundedAndAnEventEndsItEarly) {
  auto& window = this->window;
  window.Show();
  window.DoEvents();
  using Clock = std::chrono::steady_clock;
  const Clock::time_point idleStart = Clock::now();
  for (int turn = 0; turn < 5; ++turn) {
    window.DoEvents();
  }
  const auto idle = Clock::now() - idleStart;
  EXPECT_GT(idle, std::chrono::milliseconds(100)) << "idle turns wait instead of returning at once";
  EXPECT_LT(idle, std::chrono::milliseconds(5 * 250)) << "an idle turn waits at most about 50 ms";

  window.SetCommand1Visible(true);
  const auto clickDone = TypeParam::DoneClicker(window);
  const Clock::time_point start = Clock::now();
  std::thread user([clickDone] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    clickDone();
  });
  while (!window::DonePressed && Clock::now() - start < std::chrono::seconds(2)) {
    window.DoEvents();
  }
  user.join();
  EXPECT_TRUE(window::DonePressed);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(150));
}

}  // namespace
