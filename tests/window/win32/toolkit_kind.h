#pragma once

// The Win32 window in the typed window tests, and a hidden file as Windows sees one.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "window/win32/win32_progress_window.h"

namespace window_testing {

struct Win32Kind {
  using Window = window::Win32ProgressWindow;

  static bool CaretAtEndNothingSelected(Window& window) {
    window.Refresh();
    HWND log = GetDlgItem(window.Form(), window::kText1Id);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(log, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start == end && end == static_cast<DWORD>(GetWindowTextLengthW(log));
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
