#pragma once

// The log box of the Win32 window, shown in a multi-line edit control. The control breaks lines
// only at CR LF, so a lone CR or LF is shown as a pair; it holds UTF-16 and counts its characters
// in UTF-16 units.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

#include "window/log_box.h"

namespace window {

class Win32TextBox : public LogBox {
 public:
  // `load` loads the window when it is not loaded.
  explicit Win32TextBox(std::function<void()> load);

  // Shows this box in the edit control `edit` from now on.
  void Attach(HWND edit);
  // Scrolls the control so that the caret is in view.
  void ScrollCaretIntoView() const;

 protected:
  void Draw(Changes changes) override;
  void Forget() override;

 private:
  void ShowLastLine();
  // Where byte position `offset` of the text lies among the control's characters.
  WPARAM ScreenPosition(std::size_t offset) const;

  HWND edit_ = nullptr;
  // Where the last line the control shows starts, in bytes and among its characters, and how many
  // bytes of the text it shows.
  std::size_t lineStart_ = 0;
  std::size_t lineStartOnScreen_ = 0;
  std::size_t drawn_ = 0;
};

}  // namespace window
