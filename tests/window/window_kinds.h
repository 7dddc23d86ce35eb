#pragma once

// The memory window and the window of the build's toolkit (toolkit_kind.h from tests/window/qt or
// tests/window/win32), with what a test needs to play the user and to look at the log box's caret.

#include <gtest/gtest.h>

#include <string>

#include "toolkit_kind.h"
#include "window/memory/memory_window.h"

namespace window_testing {

struct MemoryKind {
  using Window = window::MemoryWindow;

  static bool CaretAtEndNothingSelected(Window& window) {
    const window::LogBox& box = window.Text1Box();
    return static_cast<std::size_t>(box.SelStart()) == box.Text().size() && box.SelLength() == 0;
  }
  static bool CaretAtStartNothingSelected(Window& window) {
    return window.Text1Box().SelStart() == 0 && window.Text1Box().SelLength() == 0;
  }
  static void ClickDone(Window& window) { window.ClickDone(); }
  static void CloseByFrame(Window& window) { window.CloseByFrame(); }
  static bool Visible(const Window& window) { return window.Visible(); }
};

using WindowKinds = ::testing::Types<MemoryKind, ToolkitKind>;

}  // namespace window_testing
