#pragma once

// The log box of the Qt window. The text is kept as bytes beside the widget, which only shows it:
// reading returns exactly what was put in. Changes reach the widget when the window is next drawn
// (Present), so that a run of appends between two repaints costs one update of the widget, in
// proportion to what was added.

#include <QPlainTextEdit>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "core/text_box.h"

namespace window {

class QtTextBox : public core::TextBox {
 public:
  // `load` loads the window when it is not loaded; every operation calls it first.
  explicit QtTextBox(std::function<void()> load);

  // Shows this box in `edit` from now on, holding `text`.
  void Attach(QPlainTextEdit& edit, std::string text);
  // Forgets the widget and the text, as the window is unloaded.
  void Detach();
  // Brings the widget up to date with the text and the selection. Also runs from the event loop
  // whenever something is waiting.
  void Present();

  const std::string& Text() const override;
  // Puts the caret before the first character.
  void SetText(std::string text) override;
  // Leaves the caret where it was.
  void AppendText(std::string_view addition) override;
  // Positions count bytes, a CR LF pair as two; the widget shows such a pair as one break, and the
  // bytes of a UTF-8 character as the character. Negative values count as 0, and a caret beyond
  // the end stands at the end. The caret is scrolled into view.
  void SetSelStart(std::int32_t start) override;
  void SetSelLength(std::int32_t length) override;

 private:
  // Where byte position `offset` of the text lies in the widget's document.
  int DocumentPosition(std::size_t offset) const;
  void PresentLater();
  // Takes the last `length` characters off what the widget will show.
  void Unshow(int length);

  std::function<void()> load_;
  QPlainTextEdit* edit_ = nullptr;
  std::string text_;
  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
  // What the widget does not show yet: either the whole text, or `pending_` in place of the last
  // `documentCut_` characters of the widget's document.
  bool replacePending_ = false;
  QString pending_;
  int documentCut_ = 0;
  // The text's last line, which is shown again as it grows: whether it is shown as UTF-8 depends
  // on all its bytes. Where it starts in the text and its length on screen.
  std::size_t lastLineStart_ = 0;
  int lastLineShown_ = 0;
  bool selectionPending_ = false;
  QTimer presentTimer_;
};

}  // namespace window
