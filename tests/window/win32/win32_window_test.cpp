#include "window/win32/win32_progress_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/text_box.h"
#include "window/win32/resources.h"

namespace {

using window::Win32ControlId;

class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window::DonePressed = false;
    window.Load();
    ASSERT_NE(window.Form(), nullptr) << "Wine needs a display driver to create windows";
  }

  HWND Control(Win32ControlId id) const { return GetDlgItem(window.Form(), id); }

  // What a control shows once the window has been drawn.
  std::string TextOf(Win32ControlId id) {
    window.Refresh();
    HWND control = Control(id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  std::wstring WideTextOf(Win32ControlId id) {
    window.Refresh();
    HWND control = Control(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  // The place of a control within the client area.
  RECT PlaceOf(Win32ControlId id) const {
    RECT place;
    GetWindowRect(Control(id), &place);
    MapWindowPoints(nullptr, window.Form(), reinterpret_cast<POINT*>(&place), 2);
    return place;
  }

  std::pair<DWORD, DWORD> Text1Selection() {
    window.Refresh();
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(Control(window::kText1Id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

  window::Win32ProgressWindow window;
};

// Left, top, right and bottom from twips as designed, at 15 twips to the pixel.
RECT FromTwips(int left, int top, int width, int height) {
  return {left / 15, top / 15, left / 15 + width / 15, top / 15 + height / 15};
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string ClassOf(HWND control) {
  char name[64] = {};
  GetClassNameA(control, name, sizeof name);
  std::string text(name);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The image sizes of the icon group in the program's resources.
std::vector<int> IconSizes() {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(KORVANE_ICON), MAKEINTRESOURCEA(14));
  if (found == nullptr) {
    return {};
  }
  const auto* group = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
  const int count = group[4] | group[5] << 8;
  std::vector<int> sizes;
  for (int entry = 0; entry < count; ++entry) {
    // A 6-byte header, then 14 bytes per image, starting with its width.
    sizes.push_back(group[6 + 14 * entry] == 0 ? 256 : group[6 + 14 * entry]);
  }
  std::sort(sizes.begin(), sizes.end());
  return sizes;
}

TEST_F(Win32WindowTest, HasTheDesignedCaptionClientAreaAndIcon) {
  char caption[64] = {};
  GetWindowTextA(window.Form(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Converting Quake WAD to HL WAD");
  RECT client;
  GetClientRect(window.Form(), &client);
  EXPECT_EQ(client.right - client.left, 616);
  EXPECT_EQ(client.bottom - client.top, 511);
  EXPECT_FALSE(IsWindowVisible(window.Form())) << "a loaded window stays hidden until shown";

  EXPECT_EQ(IconSizes(), (std::vector<int>{16, 32, 48}));
  EXPECT_NE(GetClassLongPtrA(window.Form(), GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrA(window.Form(), GCLP_HICONSM), 0);
}

TEST_F(Win32WindowTest, TheFrameNeitherMaximisesNorResizes) {
  const auto style = static_cast<DWORD>(GetWindowLongA(window.Form(), GWL_STYLE));
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0u);
  EXPECT_EQ(style & WS_THICKFRAME, 0u);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0u);
  EXPECT_NE(style & WS_SYSMENU, 0u);
}

TEST_F(Win32WindowTest, ControlsAreCreatedInTheDesignedOrderKindsAndPlaces) {
  struct Expected {
    Win32ControlId id;
    const char* kind;
    RECT place;
  };
  const Expected design[] = {
      {window::kList1Id, "listbox", FromTwips(2820, 6000, 2295, 645)},
      {window::kCommand1Id, "button", FromTwips(7260, 7200, 1755, 315)},
      {window::kText3Id, "edit", FromTwips(8400, 120, 615, 375)},
      {window::kText2Id, "edit", FromTwips(1140, 120, 3375, 375)},
      {window::kFileZ1Id, "listbox", FromTwips(180, 5880, 1695, 3600)},
      {window::kText1Id, "edit", FromTwips(180, 600, 8835, 6495)},
      {window::kLabel2Id, "static", FromTwips(180, 7260, 4395, 315)},
      {window::kLabel1DirectoryId, "static", FromTwips(180, 120, 855, 315)},
      {window::kLabel1CountId, "static", FromTwips(7140, 120, 1155, 315)},
  };
  HWND child = GetWindow(window.Form(), GW_CHILD);
  for (const Expected& control : design) {
    ASSERT_NE(child, nullptr) << control.id;
    EXPECT_EQ(GetDlgCtrlID(child), control.id);
    EXPECT_EQ(ClassOf(child), control.kind) << control.id;
    EXPECT_TRUE(SameRect(PlaceOf(control.id), control.place)) << control.id;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "no other controls";
}

TEST_F(Win32WindowTest, ControlsShowTheirDesignTimeTexts) {
  EXPECT_EQ(TextOf(window::kCommand1Id), "&Done");
  EXPECT_EQ(TextOf(window::kText3Id), "-1");
  EXPECT_EQ(TextOf(window::kText2Id), "c:\\wads");
  EXPECT_EQ(TextOf(window::kText1Id), "Beginning Conversion ...\r\n");
  EXPECT_EQ(TextOf(window::kLabel2Id), "ERRORS IN CONVERSION!!!  SEE ABOVE LOG!");
  EXPECT_EQ(TextOf(window::kLabel1DirectoryId), "Directory");
  EXPECT_EQ(TextOf(window::kLabel1CountId), "# to Convert");
}

TEST_F(Win32WindowTest, TheLogBoxIsMultiLineWithAVerticalScrollBarAndTheBoxesAreReadOnly) {
  const LONG_PTR log = GetWindowLongPtrA(Control(window::kText1Id), GWL_STYLE);
  for (const LONG_PTR style : {ES_MULTILINE, ES_AUTOVSCROLL, WS_VSCROLL, ES_READONLY}) {
    EXPECT_EQ(log & style, style);
  }
  EXPECT_EQ(log & ES_AUTOHSCROLL, 0) << "long lines wrap";
  for (const Win32ControlId box : {window::kText2Id, window::kText3Id}) {
    const LONG_PTR style = GetWindowLongPtrA(Control(box), GWL_STYLE);
    EXPECT_EQ(style & ES_READONLY, ES_READONLY);
    EXPECT_EQ(style & ES_MULTILINE, 0);
  }
}

TEST_F(Win32WindowTest, TheBannerIsPureRedBoldMsSansSerifAndTheCaptionsUseWindowColours) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(Control(window::kLabel2Id), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(font.lfHeight, -std::lround(8.25 * pixelsPerInch / 72));

  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageA(window.Form(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(Control(window::kLabel2Id)));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  for (const Win32ControlId caption : {window::kLabel1DirectoryId, window::kLabel1CountId}) {
    const auto brush = SendMessageA(window.Form(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(Control(caption)));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
  }
  DeleteDC(dc);
}

TEST_F(Win32WindowTest, OnlyWhatIsMadeVisibleAppears) {
  window.List1AddItem("castle.wad");
  window.Show();
  window.DoEvents();
  EXPECT_TRUE(IsWindowVisible(window.Form()));
  for (const Win32ControlId shown : {window::kText3Id, window::kText2Id, window::kText1Id,
                                     window::kLabel1DirectoryId, window::kLabel1CountId}) {
    EXPECT_TRUE(IsWindowVisible(Control(shown))) << shown;
  }
  for (const Win32ControlId hidden :
       {window::kList1Id, window::kFileZ1Id, window::kLabel2Id, window::kCommand1Id}) {
    EXPECT_FALSE(IsWindowVisible(Control(hidden))) << hidden;
  }

  window.SetLabel2Visible(true);
  window.SetCommand1Visible(true);
  EXPECT_TRUE(IsWindowVisible(Control(window::kLabel2Id)));
  EXPECT_TRUE(IsWindowVisible(Control(window::kCommand1Id)));
  EXPECT_FALSE(IsWindowVisible(Control(window::kList1Id)));
  EXPECT_FALSE(IsWindowVisible(Control(window::kFileZ1Id)));
}

TEST_F(Win32WindowTest, TheHiddenListsHoldTheirItems) {
  window.List1AddItem("zeta.wad");
  window.List1AddItem("caf\xE9.wad");
  HWND list1 = Control(window::kList1Id);
  ASSERT_EQ(SendMessageA(list1, LB_GETCOUNT, 0, 0), 2);
  char item[32] = {};
  SendMessageA(list1, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, "caf\xE9.wad") << "items keep the order of adding";
}

// After a failed run Done has the focus and is the default button: Return presses it, also from
// the log box; Escape never does, and Return does nothing before Done shows.
TEST_F(Win32WindowTest, ReturnAndAltDPressDoneOnceItShowsButEscapeDoesNot) {
  window.Show();
  HWND log = Control(window::kText1Id);
  SetFocus(log);
  PostMessageA(log, WM_KEYDOWN, VK_RETURN, 0);
  window.DoEvents();
  EXPECT_FALSE(window::DonePressed);
  window.SetCommand1Visible(true);
  HWND done = Control(window::kCommand1Id);
  EXPECT_EQ(GetFocus(), done);
  EXPECT_NE(GetWindowLongA(done, GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
  PostMessageA(done, WM_KEYDOWN, VK_ESCAPE, 0);
  window.DoEvents();
  EXPECT_FALSE(window::DonePressed);
  EXPECT_FALSE(window.Closed());
  PostMessageA(done, WM_KEYDOWN, VK_RETURN, 0);
  window.DoEvents();
  EXPECT_TRUE(window::DonePressed);
  window::DonePressed = false;
  SetFocus(log);
  PostMessageA(log, WM_KEYDOWN, VK_RETURN, 0);
  window.DoEvents();
  EXPECT_TRUE(window::DonePressed);
  window::DonePressed = false;
  PostMessageA(log, WM_SYSCHAR, 'd', 1 << 29);
  window.DoEvents();
  EXPECT_TRUE(window::DonePressed);
  EXPECT_TRUE(IsWindowVisible(window.Form()));
}

TEST_F(Win32WindowTest, ShowsLineBreaksAsCrLfAndBytesThroughTheCodePage) {
  core::TextBox& box = window.Text1();
  box.SetText("caf\xE9 \x80\r\nlone cr\rlone lf\nend\r");
  EXPECT_EQ(TextOf(window::kText1Id), "caf\xE9 \x80\r\nlone cr\r\nlone lf\r\nend\r\n");
  box.AppendText("\nafter\n");
  box.AppendText(std::string("nul\0byte", 8));
  EXPECT_EQ(TextOf(window::kText1Id),
            "caf\xE9 \x80\r\nlone cr\r\nlone lf\r\nend\r\nafter\r\nnul byte");
  EXPECT_EQ(box.Text(),
            "caf\xE9 \x80\r\nlone cr\rlone lf\nend\r\nafter\n" + std::string("nul\0byte", 8));
}

// Names are UTF-8: they show as they are, whatever the system's code pages; a byte that is no part
// of UTF-8 shows as its Windows-1252 character, except a character cut before a verdict.
TEST_F(Win32WindowTest, ShowsUtf8AsItsCharactersAndOtherBytesAsWindows1252) {
  window.Text1().SetText(
      "Ch\u00e2teau Preis_\u20ac \u0414\u043e\u043c\r\n\u30c6\u30af caf\xE9\r\nCh\xC3: Ok");
  window.SetText2("c:\\\u0414\u043e\u043c");
  window.List1AddItem("\u0414\u043e\u043c.wad");
  EXPECT_EQ(WideTextOf(window::kText1Id),
            L"Ch\u00e2teau Preis_\u20ac \u0414\u043e\u043c\r\n\u30c6\u30af caf\u00e9\r\nCh: Ok");
  EXPECT_EQ(WideTextOf(window::kText2Id), L"c:\\\u0414\u043e\u043c");
  wchar_t item[16] = {};
  SendMessageW(Control(window::kList1Id), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"\u0414\u043e\u043c.wad");
  // The control counts UTF-16 units: the caret after the line break stands at 21, not at byte 27.
  window.Text1().SetSelStart(27);
  EXPECT_EQ(Text1Selection(), std::make_pair(DWORD{21}, DWORD{21}));
}

TEST_F(Win32WindowTest, SelectionCountsACrLfPairAsTwoAndAppendsLeaveItAlone) {
  core::TextBox& box = window.Text1();
  box.SetText("ab\r\ncd\ref");
  EXPECT_EQ(Text1Selection(), std::make_pair(DWORD{0}, DWORD{0}));
  box.SetSelStart(4);
  box.SetSelLength(2);
  EXPECT_EQ(Text1Selection(), std::make_pair(DWORD{4}, DWORD{6}));
  box.SetSelStart(7);
  box.SetSelLength(100);
  EXPECT_EQ(Text1Selection(), std::make_pair(DWORD{8}, DWORD{10})) << "the lone CR shows as two";
  box.AppendText("\r\ngh");
  EXPECT_EQ(Text1Selection(), std::make_pair(DWORD{8}, DWORD{10}));
  box.SetSelStart(-3);
  EXPECT_EQ(Text1Selection(), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(Win32WindowTest, ALongLogReachesTheScreenWholeAndScrollsToItsEnd) {
  window.Show();
  core::TextBox& box = window.Text1();
  box.SetText("");
  window.Refresh();
  const std::string line(70, 'x');
  for (int count = 1; count <= 1000; ++count) {
    core::AppendLineToTextBox(box, line);
    if (count % 100 == 0) {
      window.Refresh();
    }
  }
  HWND log = Control(window::kText1Id);
  EXPECT_EQ(static_cast<std::size_t>(GetWindowTextLengthA(log)), box.Text().size())
      << "more than the edit control's default limit";
  EXPECT_GT(SendMessageA(log, EM_GETFIRSTVISIBLELINE, 0, 0), 900);
  box.SetSelStart(0);
  window.Refresh();
  EXPECT_EQ(SendMessageA(log, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(Win32WindowTest, WaitingForEventsIsBoundedAndAnEventEndsItEarly) {
  window.Show();
  window.DoEvents();
  using Clock = std::chrono::steady_clock;
  const Clock::time_point idleStart = Clock::now();
  for (int turn = 0; turn < 5; ++turn) {
    window.DoEvents();
  }
  const auto idle = Clock::now() - idleStart;
  EXPECT_GT(idle, std::chrono::milliseconds(100)) << "idle turns wait instead of returning at once";
  EXPECT_LT(idle, std::chrono::milliseconds(5 * 250)) << "an idle turn waits at most about 40 ms";

  window.SetCommand1Visible(true);
  HWND done = Control(window::kCommand1Id);
  const Clock::time_point start = Clock::now();
  std::thread user([done] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    PostMessageA(done, BM_CLICK, 0, 0);
  });
  while (!window::DonePressed && Clock::now() - start < std::chrono::seconds(2)) {
    window.DoEvents();
  }
  user.join();
  EXPECT_TRUE(window::DonePressed);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(150));
}

TEST_F(Win32WindowTest, TheCloseBoxHidesTheWindowAndReportsIt) {
  window.Show();
  SendMessageA(window.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(window.Closed());
  EXPECT_FALSE(IsWindowVisible(window.Form()));
  EXPECT_FALSE(window::DonePressed);
  window.SetText3("3");
  EXPECT_EQ(TextOf(window::kText3Id), "3") << "the controls live on until the window is unloaded";
  window.Show();
  EXPECT_FALSE(window.Closed());
}

}  // namespace
