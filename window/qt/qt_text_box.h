#pragma once

// The log box of the Qt window, shown in a QPlainTextEdit. Each line is shown as ScreenText shows
// it; the last line is shown again as it grows, since whether it is valid UTF-8 depends on all its
// bytes. The widget shows a CR LF pair as one break and the bytes of a UTF-8 character as the
// character, so a selection is mapped from bytes to the widget's positions.

#include <QPlainTextEdit>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <functional>

#include "window/log_box.h"

namespace window {

class QtTextBox : public LogBox {
 public:
  // `load` loads the window when it is not loaded.
  explicit QtTextBox(std::function<void()> load);

  // Shows this box in `edit` from now on.
  void Attach(QPlainTextEdit& edit);

 protected:
  void Appended(std::size_t from) override;
  void Draw(Changes changes) override;
  // Presents from the event loop, once what is waiting has piled up.
  void PresentLater() override;
  void Forget() override;

 private:
  // Where byte position `offset` of the text lies in the widget's document.
  int DocumentPosition(std::size_t offset) const;
  // Takes the last `length` characters off what the widget will show.
  void Unshow(int length);
  // Puts the widget's selection back at `anchor` and `position` after the text under it changed.
  void KeepSelection(int anchor, int position);

  QPlainTextEdit* edit_ = nullptr;
  // What the widget does not show yet of the appended pieces: `pending_` in place of the last
  // `documentCut_` characters of the widget's document.
  QString pending_;
  int documentCut_ = 0;
  // Where the text's last line starts in the text, and its length on screen.
  std::size_t lastLineStart_ = 0;
  int lastLineShown_ = 0;
  QTimer presentTimer_;
};

}  // namespace window
