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
  // Positions count bytes, a CR LF pair as two; the widget shows such a pair as one break. Negative
  // values count as 0, and a caret beyond the end stands at the end. The caret is scrolled into
  // view.
  void SetSelStart(std::int32_t start) override;
  void SetSelLength(std::int32_t length) override;

 private:
  // Where byte position `offset` of the text lies in the widget's document.
  int DocumentPosition(std::size_t offset) const;
  void PresentLater();

  std::function<void()> load_;
  QPlainTextEdit* edit_ = nullptr;
  std::string text_;
  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
  // What the widget does not show yet: either the whole text, or `pending_` at its end.
  bool replacePending_ = false;
  QString pending_;
  bool selectionPending_ = false;
  QTimer presentTimer_;
};

}  // namespace window
