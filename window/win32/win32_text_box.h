#pragma once

// The log box of the Win32 window. The text is kept as bytes beside the edit control, which only
// shows it: reading returns exactly what was put in. Changes reach the control when the window is
// next drawn or given an event turn (Present), so that a run of appends between two repaints costs
// one addition to the end of the control, in proportion to what was added.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/text_box.h"

namespace window {

class Win32TextBox : public core::TextBox {
 public:
  // `load` loads the window when it is not loaded; every operation calls it first.
  explicit Win32TextBox(std::function<void()> load);

  // Shows this box in the edit control `edit` from now on, holding `text`.
  void Attach(HWND edit, std::string text);
  // Forgets the control and the text, as the window is unloaded.
  void Detach();
  // Brings the control up to date with the text and the selection.
  void Present();
  // Scrolls the control so that the caret is in view.
  void ScrollCaretIntoView() const;

  const std::string& Text() const override;
  // Puts the caret before the first character.
  void SetText(std::string text) override;
  // Leaves the caret and the selection where they were.
  void AppendText(std::string_view addition) override;
  // Positions count bytes, a CR LF pair as two; the control shows a lone CR or LF as a CR LF pair.
  // Negative values count as 0, and a caret beyond the end stands at the end. The caret is
  // scrolled into view.
  void SetSelStart(std::int32_t start) override;
  void SetSelLength(std::int32_t length) override;

 private:
  // Where byte position `offset` of the text lies among the control's characters.
  WPARAM ScreenPosition(std::size_t offset) const;

  std::function<void()> load_;
  HWND edit_ = nullptr;
  std::string text_;
  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
  // What the control does not show yet: either the whole text, or `pending_` at its end.
  bool replacePending_ = false;
  std::string pending_;
  bool selectionPending_ = false;
};

}  // namespace window
