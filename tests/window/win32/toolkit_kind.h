#pragma once

// The Win32 window in the contract tests (included by window_kinds.h).

#include <windows.h>

#include <string>

#include "window/win32/win32_progress_window.h"

namespace window_testing {

struct Win32Kind {
  using Window = window::Win32ProgressWindow;

  static HWND Handle(Window& window, Control control) {
    window.Refresh();
    return GetDlgItem(window.Form(), window::kList1Id + static_cast<int>(control));
  }
  // The log box's selection in the control's UTF-16 units.
  static std::pair<DWORD, DWORD> Selection(Window& window) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(Handle(window, Control::Text1), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  static std::u16string RawText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return {text.begin(), text.end()};
  }

  static bool CaretAtEndNothingSelected(Window& window) {
    const auto [start, end] = Selection(window);
    return start == end && end == RawText(Handle(window, Control::Text1)).size();
  }
  static bool CaretAtStartNothingSelected(Window& window) {
    return Selection(window) == std::pair<DWORD, DWORD>{0, 0};
  }
  static void ClickDone(Window& window) {
    if (Visible(window, Control::Command1)) {
      SendMessageA(Handle(window, Control::Command1), BM_CLICK, 0, 0);
    }
  }
  static void CloseByFrame(Window& window) {
    SendMessageA(window.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  static void Press(Window& window, Control control, Key key) {
    HWND target = Handle(window, control);
    SetFocus(target);
    if (key == Key::AltD) {
      PostMessageA(target, WM_SYSCHAR, 'd', 1 << 29);
    } else {
      PostMessageA(target, WM_KEYDOWN, key == Key::Return ? VK_RETURN : VK_ESCAPE, 0);
    }
    window.DoEvents();
  }

  static bool Visible(Window& window) { return IsWindowVisible(window.Form()) != 0; }
  static bool Visible(Window& window, Control control) {
    return IsWindowVisible(Handle(window, control)) != 0;
  }
  static std::u16string Caption(Window& window) { return RawText(window.Form()); }
  static Place Client(Window& window) {
    RECT client;
    GetClientRect(window.Form(), &client);
    return {client.left, client.top, client.right, client.bottom};
  }
  static Place PlaceOf(Window& window, Control control) {
    RECT place;
    GetWindowRect(Handle(window, control), &place);
    MapWindowPoints(nullptr, window.Form(), reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right, place.bottom};
  }
  // What a control shows, each CR LF as one "\n" (a lone CR stays, a lone LF shows as a symbol,
  // since the control breaks at neither).
  static std::u16string Shown(Window& window, Control control) {
    const std::u16string raw = RawText(Handle(window, control));
    std::u16string shown;
    for (std::size_t at = 0; at < raw.size(); ++at) {
      const bool pair = raw.compare(at, 2, u"\r\n") == 0;
      shown += pair ? u'\n' : raw[at] == u'\n' ? u'\u240A' : raw[at];
      at += pair ? 1 : 0;
    }
    return shown;
  }
  static std::u16string Selected(Window& window) {
    const auto [start, end] = Selection(window);
    return RawText(Handle(window, Control::Text1)).substr(start, end - start);
  }
  static int TopLine(Window& window) {
    return static_cast<int>(
        SendMessageW(Handle(window, Control::Text1), EM_GETFIRSTVISIBLELINE, 0, 0));
  }
};

using ToolkitKind = Win32Kind;

}  // namespace window_testing
