#pragma once

// The one window of Korvane, as the conversion driver sees it. The driver only ever talks to this
// interface; window/memory keeps the same state without drawing (for tests), window/qt and
// window/win32 draw it. Every operation runs on the one user-interface thread.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/text_box.h"

namespace window {

// Set by the Done button's click handler and by nothing else; never reset.
extern bool DonePressed;

class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;

  // Creates the window with every control at its design-time value; it stays invisible.
  virtual void Load() = 0;
  // Makes the window visible; the caller continues at once.
  virtual void Show() = 0;
  // Repaints the window and its controls now.
  virtual void Refresh() = 0;
  // Destroys the window and its controls with their contents.
  virtual void Unload() = 0;
  // Handles every queued input and paint event (a click of Done among them), then returns. When
  // nothing is queued it may wait up to 50 ms for an event, so that loops built on it do not spin.
  virtual void DoEvents() = 0;
  // True once the user has closed the window through its frame. Closing hides the window and never
  // sets DonePressed; every operation keeps working until Unload.
  virtual bool Closed() const = 0;
  // False where nobody can see the window or press Done: a platform that draws nowhere.
  virtual bool Watched() const = 0;
  // Where nobody watches the window, the log box's text also goes to `echo` from the moment the
  // window is shown until it is unloaded: all of it at once, then each addition as it comes.
  virtual void EchoLog(std::function<void(std::string_view)> echo) = 0;

  // The log box: multi-line, with a vertical scroll bar.
  virtual core::TextBox& Text1() = 0;
  // The folder read-out.
  virtual void SetText2(const std::string& text) = 0;
  // The read-out of the number of WADs to convert.
  virtual void SetText3(const std::string& text) = 0;

  // The hidden conversion list, in the order of adding.
  virtual void List1AddItem(const std::string& item) = 0;
  virtual std::int32_t List1ListCount() const = 0;
  virtual std::string List1List(std::int32_t index) const = 0;

  // The hidden file list: bare names of the folder's files that match the pattern, filled by
  // FileZ1Refresh from the platform's folder listing.
  virtual void SetFileZ1Path(const std::string& folder) = 0;
  virtual void SetFileZ1Pattern(const std::string& pattern) = 0;
  virtual void FileZ1Refresh() = 0;
  virtual std::int32_t FileZ1ListCount() const = 0;
  virtual std::string FileZ1List(std::int32_t index) const = 0;

  // The red error banner and the Done button, hidden until made visible.
  virtual void SetLabel2Visible(bool visible) = 0;
  virtual void SetCommand1Visible(bool visible) = 0;
};

}  // namespace window
