#pragma once

// The Win32 window in the typed window tests, and a hidden file as Windows sees one.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "window/win32/win32_progress_window.h"

namespace window_testing {

struct Win32Kind {
  using Window = window::Win32ProgressWindow;

  static bool CaretAtEndNothingSelected(Window& window) {
    const auto [start, end] = Selection(window);
    return start == end && end == static_cast<DWORD>(GetWindowTextLengthW(
                                      GetDlgItem(window.Form(), window::kText1Id)));
  }
  static bool CaretAtStartNothingSelected(Window& window) {
    const auto [start, end] = Selection(window);
    return start == 0 && end == 0;
  }
  // The log box's selection as the control has it once the window is drawn.
  static std::pair<DWORD, DWORD> Selection(Window& window) {
    window.Refresh();
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(GetDlgItem(window.Form(), window::kText1Id), EM_GETSEL,
                 reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  static void ClickDone(Window& window) {
    HWND done = GetDlgItem(window.Form(), window::kCommand1Id);
    if (IsWindowVisible(done) != 0) {
      SendMessageA(done, BM_CLICK, 0, 0);
    }
  }
  static void CloseByFrame(Window& window) {
    SendMessageA(window.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  static bool Visible(Window& window) { return IsWindowVisible(window.Form()) != 0; }
};

using ToolkitKind = Win32Kind;

inline void AddHiddenFile(const std::filesystem::path& folder, const std::string& name) {
  const std::filesystem::path file = folder / name;
  std::ofstream(file) << "x";
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace window_testing
