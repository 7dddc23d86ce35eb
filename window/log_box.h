#pragma once

// The log box as every window keeps it: the text as bytes, and the selection. Reading returns
// exactly what was put in. A toolkit's box shows the text in a control of its own; changes reach
// the control when the window presents them (Present), so that a run of appends between two
// repaints costs one update of the control, in proportion to what was added. This class itself
// shows nowhere: it is the log box of the memory window.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/text_box.h"

namespace window {

class LogBox : public core::TextBox {
 public:
  // `load` loads the window when it is not loaded; every operation of core::TextBox calls it first.
  explicit LogBox(std::function<void()> load);
  LogBox(const LogBox&) = delete;
  LogBox& operator=(const LogBox&) = delete;

  const std::string& Text() const override;
  // Puts the caret before the first character, with nothing selected.
  void SetText(std::string text) override;
  // Leaves the caret and the selection where they were.
  void AppendText(std::string_view addition) override;
  // Positions count bytes, a CR LF pair as two. Negative values count as 0, a caret beyond the end
  // stands at the end, and a selection ends at the end at the latest. The caret is scrolled into
  // view.
  void SetSelStart(std::int32_t start) override;
  void SetSelLength(std::int32_t length) override;

  // The selection, read without loading the window.
  std::int32_t SelStart() const { return static_cast<std::int32_t>(selStart_); }
  std::int32_t SelLength() const { return static_cast<std::int32_t>(selLength_); }

  // Brings the control up to date with the text and the selection.
  void Present();
  // Empties the box as the window is unloaded: the text, the selection and all that waits to be
  // shown, and ends an echo. The box shows nowhere until its window loads again.
  void Reset();
  // From now on the text also goes to `echo`: all of it at once (unless an echo runs already),
  // then each addition; a new text that replaces it follows on a line of its own.
  void Echo(std::function<void(std::string_view)> echo);

 protected:
  // What changed since the control was last brought up to date, besides the appended pieces.
  struct Changes {
    bool replaced;
    bool selectionMoved;
  };

  // The text, read without loading the window.
  const std::string& Bytes() const { return text_; }

  // The text gained the bytes from `from` on, while the control shows all that came before them.
  // After a replacement nothing is appended until Draw has shown the whole text.
  virtual void Appended(std::size_t from);
  // Shows what changed: the whole text, or the pieces appended since the last call; then the
  // selection, if it moved.
  virtual void Draw(Changes changes);
  // Something waits to be shown: a toolkit with an event loop presents it from there soon.
  virtual void PresentLater();
  // The control is gone with the window; what waits for it is dropped.
  virtual void Forget();

 private:
  std::function<void()> load_;
  std::function<void(std::string_view)> echo_;
  std::string text_;
  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
  bool replacePending_ = false;
  bool selectionPending_ = false;
};

}  // namespace window
