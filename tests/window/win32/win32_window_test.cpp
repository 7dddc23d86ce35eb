// What only the Win32 window has: its styles, icons and colours, and decoding by the character.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/window/window_kinds.h"

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

TEST_F(Win32WindowTest, AFixedFrameWithIconsAWrappingLogNoBoxToEditAndABoldRedBanner) {
  const auto style = static_cast<DWORD>(GetWindowLongA(window.Form(), GWL_STYLE));
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_SYSMENU), DWORD{WS_MINIMIZEBOX | WS_SYSMENU});
  EXPECT_NE(GetClassLongPtrA(window.Form(), GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrA(window.Form(), GCLP_HICONSM), 0);
  const LONG_PTR log = Style(Control::Text1);
  for (const LONG_PTR style : {ES_MULTILINE, ES_AUTOVSCROLL, WS_VSCROLL, ES_READONLY}) {
    EXPECT_EQ(log & style, style);
  }
  EXPECT_EQ(log & ES_AUTOHSCROLL, 0) << "long lines wrap";
  for (const Control box : {Control::Text2, Control::Text3}) {
    EXPECT_EQ(Style(box) & (ES_READONLY | ES_MULTILINE), ES_READONLY);
  }

  HWND banner = Kind::Handle(window, Control::Label2);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(banner, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
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
