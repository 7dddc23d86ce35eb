#pragma once

// The windows the contract tests run against, each with a kind that plays the user and tells what
// the window shows: the memory window and the toolkit's window (tests/window/qt or win32).

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "window/memory/memory_window.h"

namespace window_testing {

// The controls, in the order of their creation.
enum class Control { List1, Command1, Text3, Text2, FileZ1, Text1, Label2, Label1Dir, Label1Count };
inline constexpr Control kControls[] = {Control::List1,  Control::Command1,  Control::Text3,
                                        Control::Text2,  Control::FileZ1,    Control::Text1,
                                        Control::Label2, Control::Label1Dir, Control::Label1Count};

// A control's place in the form's client area, in pixels; right and bottom lie just outside it.
struct Place {
  long left;
  long top;
  long right;
  long bottom;
};

enum class Key { Return, Escape, AltD };

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
  static bool Visible(Window& window) { return window.Visible(); }
};

}  // namespace window_testing

#include "toolkit_kind.h"

namespace window_testing {

using WindowKinds = ::testing::Types<MemoryKind, ToolkitKind>;

}  // namespace window_testing
