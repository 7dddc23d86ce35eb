// What a window that draws shows its user, the same for every toolkit: the design's texts, a layout
// in which nothing hides anything, the log's bytes as characters, the keys of a dialog and an event
// loop that neither spins nor lags.

#include <gtest/gtest.h>

#include <algorithm>
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

template <typename Kind>
class DrawnWindowContract : public ::testing::Test {
 protected:
  void SetUp() override { window.Load(); }

  typename Kind::Window window;
};

TYPED_TEST_SUITE(DrawnWindowContract, window_testing::DrawnKinds);

TYPED_TEST(DrawnWindowContract, ShowsTheDesignsCaptionSizeAndTexts) {
  namespace design = window::design;
  auto& window = this->window;
  EXPECT_EQ(TypeParam::Caption(window), Shown(design::kCaption));
  const Place client = TypeParam::Client(window);
  EXPECT_EQ(client.right, design::kClientWidth / design::kTwipsPerPixel);
  EXPECT_EQ(client.bottom, design::kClientHeight / design::kTwipsPerPixel);
  const std::pair<Control, const char*> texts[] = {{Control::Command1, design::kCommand1},
                                                   {Control::Text3, design::kText3},
                                                   {Control::Text2, design::kText2},
                                                   {Control::Text1, design::kText1},
                                                   {Control::Label2, design::kLabel2},
                                                   {Control::Label1Dir, design::kLabel1Directory},
                                                   {Control::Label1Count, design::kLabel1Count}};
  for (const auto& [control, text] : texts) {
    EXPECT_EQ(TypeParam::Shown(window, control), Shown(text)) << text;
  }
}

// At the end of a failed run the user sees every control but the two lists, none hiding another.
TYPED_TEST(DrawnWindowContract, AFailedRunsEndShowsAllButTheListsInPlaces) {
  auto& window = this->window;
  window.List1AddItem("castle.wad");
  window.Show();
  window.DoEvents();
  EXPECT_FALSE(TypeParam::Visible(window, Control::Label2) ||
               TypeParam::Visible(window, Control::Command1));
  window.SetLabel2Visible(true);
  window.SetCommand1Visible(true);
  window.DoEvents();
  const Place client = TypeParam::Client(window);
  const auto place = [&window](Control control) { return TypeParam::PlaceOf(window, control); };
  for (const Control a : window_testing::kControls) {
    const bool seen = a != Control::List1 && a != Control::FileZ1;
    EXPECT_EQ(TypeParam::Visible(window, a), seen) << static_cast<int>(a);
    const Place p = place(a);
    EXPECT_TRUE(!seen ||
                (p.left >= 0 && p.top >= 0 && p.right <= client.right && p.bottom <= client.bottom))
        << static_cast<int>(a);
    for (const Control b : window_testing::kControls) {
      const Place q = place(b);
      EXPECT_FALSE(a < b && seen && b != Control::FileZ1 && p.left < q.right && q.left < p.right &&
                   p.top < q.bottom && q.top < p.bottom)
          << static_cast<int>(a) << " overlaps " << static_cast<int>(b);
    }
  }
  const Place log = place(Control::Text1);
  EXPECT_GT(2 * (log.right - log.left), client.right) << "the log fills the form";
  EXPECT_GE(place(Control::Command1).top, log.bottom);
  EXPECT_GE(place(Control::Label2).top, log.bottom);
  EXPECT_LT(place(Control::Label2).right, place(Control::Command1).left);
  for (const auto& [caption, box] : {std::pair{Control::Label1Dir, Control::Text2},
                                     std::pair{Control::Label1Count, Control::Text3}}) {
    EXPECT_LE(place(caption).right, place(box).left);
    EXPECT_LE(place(box).bottom, log.top);
  }
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
  EXPECT_EQ(TypeParam::Shown(window, Control::Text2), u"c:\\caf\u00e9");
  EXPECT_EQ(TypeParam::Shown(window, Control::Text3), u"\u0414\u043e\u043c");
}

// A line may be shown before all of it has come; in the end the screen shows what the whole text
// shows, in whatever pieces it came and however often the window was drawn in between.
TYPED_TEST(DrawnWindowContract, AppendingInAnyPiecesShowsWhatTheWholeTextShows) {
  const std::string text =
      "start\r\nLights \xC3\x84\xC3\x96.wad\r\ncaf\xE9\r\r\n\xF0\x9F\x98\x80\nend \xC3\x96\r";
  core::TextBox& box = this->window.Text1();
  box.SetText(text);
  const std::u16string whole = TypeParam::Shown(this->window, Control::Text1);
  for (const std::size_t piece : {1, 2, 3, 5, 7}) {
    box.SetText("");
    for (std::size_t at = 0, end = 0; at < text.size(); at = end) {
      end = std::min(at + piece, text.size());
      while (!TypeParam::kJoinsSplitCharacters && end < text.size() && (text[end] & 0xC0) == 0x80) {
        ++end;
      }
      box.AppendText(std::string_view(text).substr(at, end - at));
      if (at % 2 == 0) {
        this->window.Refresh();
      }
    }
    EXPECT_EQ(TypeParam::Shown(this->window, Control::Text1), whole) << piece;
  }
}

// Positions count bytes, a CR LF pair as two; the screen selects whole characters.
TYPED_TEST(DrawnWindowContract, ASelectionCoversTheCharactersOfItsBytes) {
  const char* const text = "\xC3\x84\xC3\x96\r\n\xF0\x9F\x98\x80x\r\n\xC4\xD6";
  const struct {
    const char* text;
    int start;
    int length;
    const char16_t* selected;
  } cases[] = {{"ab\r\ncd\ref", 4, 2, u"cd"},
               {"ab\r\ncd\ref", 7, 100, u"ef"},
               {text, 2, 2, u"\u00d6"},
               {text, 13, 1, u"\u00c4"},
               {text, 6, 5, u"\U0001F600x"}};
  core::TextBox& box = this->window.Text1();
  for (const auto& row : cases) {
    box.SetText(row.text);
    box.SetSelStart(row.start);
    box.SetSelLength(row.length);
    EXPECT_EQ(TypeParam::Selected(this->window), row.selected) << row.start;
  }
  box.AppendText("\r\ngh");
  EXPECT_EQ(TypeParam::Selected(this->window), u"\U0001F600x") << "appending keeps the selection";
  box.SetSelStart(-3);
  EXPECT_TRUE(TypeParam::CaretAtStartNothingSelected(this->window));
}

TYPED_TEST(DrawnWindowContract, ALongLogReachesTheScreenWholeAndTheCaretStaysInView) {
  this->window.Show();
  core::TextBox& box = this->window.Text1();
  box.SetText("");
  std::u16string shown;
  const std::string line(40, 'x');
  for (int count = 1; count <= 1000; ++count) {
    core::AppendLineToTextBox(box, line);
    shown += u'\n' + Shown(line);
    if (count % 100 == 0) {
      this->window.Refresh();
    }
  }
  EXPECT_EQ(TypeParam::Shown(this->window, Control::Text1), shown);
  EXPECT_GT(TypeParam::TopLine(this->window), 900);
  box.SetSelStart(0);
  EXPECT_EQ(TypeParam::TopLine(this->window), 0);
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
  std::thread user([clickDone = TypeParam::DoneClicker(window)] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    clickDone();
  });
  const Clock::time_point start = Clock::now();
  while (!window::DonePressed && Clock::now() - start < std::chrono::seconds(2)) {
    window.DoEvents();
  }
  user.join();
  EXPECT_TRUE(window::DonePressed);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(150));
}

}  // namespace
