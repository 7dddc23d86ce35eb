// What only the Win32 window has: the icon from the program's resources, the frame's and the edit
// controls' styles, the colours it answers for its labels, and UTF-16 controls that show UTF-8 by
// the character and every other byte as Windows-1252.

#include "window/win32/win32_progress_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <set>
#include <string>

#include "tests/window/window_kinds.h"
#include "window/design.h"
#include "window/win32/resources.h"

namespace {

using window_testing::Control;
using Kind = window_testing::Win32Kind;

class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Load();
    ASSERT_NE(window.Form(), nullptr) << "Wine needs a display driver to create windows";
  }

  LONG_PTR Style(Control control) {
    return GetWindowLongPtrA(Kind::Handle(window, control), GWL_STYLE);
  }

  window::Win32ProgressWindow window;
};

TEST_F(Win32WindowTest, TheFixedFrameCarriesTheResourceIconInTheSystemsSizes) {
  const auto style = static_cast<DWORD>(GetWindowLongA(window.Form(), GWL_STYLE));
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_SYSMENU), DWORD{WS_MINIMIZEBOX | WS_SYSMENU});
  // The icon group: a 6-byte header with the count, then 14 bytes per image, its width first.
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(KORVANE_ICON), MAKEINTRESOURCEA(14));
  ASSERT_NE(found, nullptr);
  const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  std::set<int> widths;
  for (int image = 0; image < (group[4] | group[5] << 8); ++image) {
    widths.insert(group[6 + 14 * image]);
  }
  for (const int metric : {SM_CXICON, SM_CXSMICON}) {
    EXPECT_EQ(widths.count(GetSystemMetrics(metric)), 1u) << metric;
  }
  EXPECT_NE(GetClassLongPtrA(window.Form(), GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrA(window.Form(), GCLP_HICONSM), 0);
}

TEST_F(Win32WindowTest, TheLogWrapsAndScrollsAndNoBoxCanBeEdited) {
  const LONG_PTR log = Style(Control::Text1);
  for (const LONG_PTR style : {ES_MULTILINE, ES_AUTOVSCROLL, WS_VSCROLL, ES_READONLY}) {
    EXPECT_EQ(log & style, style);
  }
  EXPECT_EQ(log & ES_AUTOHSCROLL, 0) << "long lines wrap";
  for (const Control box : {Control::Text2, Control::Text3}) {
    EXPECT_EQ(Style(box) & (ES_READONLY | ES_MULTILINE), ES_READONLY);
  }
}

TEST_F(Win32WindowTest, TheBannerIsBoldAndRedAndTheCaptionsUseTheWindowColours) {
  HWND banner = Kind::Handle(window, Control::Label2);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(banner, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, window::design::kLabel2Font);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(font.lfHeight, -std::lround(window::design::kLabel2PointSize * pixelsPerInch / 72));

  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageA(window.Form(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(banner));
  const COLORREF red = GetTextColor(dc);
  EXPECT_GT(GetRValue(red), 4 * (GetGValue(red) + GetBValue(red)));
  for (const Control caption : {Control::Label1Dir, Control::Label1Count}) {
    const auto brush = SendMessageA(window.Form(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(Kind::Handle(window, caption)));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
  }
  DeleteDC(dc);
}

// Each UTF-8 sequence shows as its character, whatever the system's code pages, and each other byte
// as its Windows-1252 character, in the same line; a NUL byte would end the control's text.
TEST_F(Win32WindowTest, ShowsUtf8AndWindows1252InOneLineAndANulAsASpace) {
  window.Text1().SetText("Ch\u00e2teau \u30c6\u30af caf\xE9 " + std::string("nul\0", 4) + "end");
  EXPECT_EQ(Kind::Shown(window, Control::Text1), u"Ch\u00e2teau \u30c6\u30af caf\u00e9 nul end");
  window.Text1().SetSelStart(static_cast<std::int32_t>(window.Text1().Text().size()) - 3);
  EXPECT_EQ(Kind::Selection(window).first, 20u) << "the caret counts UTF-16 units";
}

}  // namespace
