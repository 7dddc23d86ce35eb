#include "window/qt/qt_text_box.h"

#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>
#include <string_view>

#include "window/qt/windows1252.h"

namespace window {

namespace {

std::size_t LastLineStart(std::string_view text) {
  const std::size_t lastBreak = text.find_last_of("\r\n");
  return lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
}

int ShownLength(std::string_view line) {
  return ScreenPosition(line, line.size());
}

}  // namespace

QtTextBox::QtTextBox(std::function<void()> load) : LogBox(std::move(load)) {
  presentTimer_.setSingleShot(true);
  presentTimer_.setInterval(0);
  QObject::connect(&presentTimer_, &QTimer::timeout, [this] { Present(); });
}

void QtTextBox::Attach(QPlainTextEdit& edit) {
  edit_ = &edit;
}

void QtTextBox::Forget() {
  presentTimer_.stop();
  edit_ = nullptr;
  pending_.clear();
  documentCut_ = 0;
  lastLineStart_ = 0;
  lastLineShown_ = 0;
}

void QtTextBox::Appended(std::size_t from) {
  const std::string_view text = Bytes();
  // A CR that ended the old text is already a break on screen; an LF right after it belongs to it.
  const bool breakContinues = from > 0 && text[from - 1] == '\r' && text[from] == '\n';
  const std::size_t reshownFrom = breakContinues ? from + 1 : lastLineStart_;
  lastLineStart_ = LastLineStart(text);
  Unshow(lastLineShown_);
  const QString shown = ScreenText(text.substr(reshownFrom));
  pending_.append(shown);
  lastLineShown_ = static_cast<int>(shown.size() - (shown.lastIndexOf(u'\n') + 1));
}

void QtTextBox::Draw(Changes changes) {
  presentTimer_.stop();
  if (edit_ == nullptr) {
    return;
  }
  if (changes.replaced) {
    const std::string_view text = Bytes();
    edit_->setPlainText(ScreenText(text));
    lastLineStart_ = LastLineStart(text);
    lastLineShown_ = ShownLength(text.substr(lastLineStart_));
  } else if (documentCut_ > 0 || !pending_.isEmpty()) {
    const int anchor = edit_->textCursor().anchor();
    const int position = edit_->textCursor().position();
    const int end = edit_->document()->characterCount() - 1;
    QTextCursor tail(edit_->document());
    tail.setPosition(end - documentCut_);
    tail.setPosition(end, QTextCursor::KeepAnchor);
    tail.insertText(pending_);
    KeepSelection(anchor, position);
  }
  pending_.clear();
  documentCut_ = 0;
  if (changes.selectionMoved) {
    const auto start = static_cast<std::size_t>(SelStart());
    QTextCursor cursor(edit_->document());
    cursor.setPosition(DocumentPosition(start));
    cursor.setPosition(DocumentPosition(start + static_cast<std::size_t>(SelLength())),
                       QTextCursor::KeepAnchor);
    // Setting the widget's cursor also scrolls it into view.
    edit_->setTextCursor(cursor);
  }
}

// Text shown anew under the user's selection or caret moves them; they go back where they were,
// and the view stays where the user scrolled it.
void QtTextBox::KeepSelection(int anchor, int position) {
  QTextCursor cursor = edit_->textCursor();
  if (cursor.anchor() == anchor && cursor.position() == position) {
    return;
  }
  const int end = edit_->document()->characterCount() - 1;
  cursor.setPosition(std::min(anchor, end));
  cursor.setPosition(std::min(position, end), QTextCursor::KeepAnchor);
  const int vertical = edit_->verticalScrollBar()->value();
  const int horizontal = edit_->horizontalScrollBar()->value();
  edit_->setTextCursor(cursor);
  edit_->verticalScrollBar()->setValue(vertical);
  edit_->horizontalScrollBar()->setValue(horizontal);
}

int QtTextBox::DocumentPosition(std::size_t offset) const {
  if (offset >= Bytes().size()) {
    return edit_->document()->characterCount() - 1;
  }
  return ScreenPosition(Bytes(), offset);
}

void QtTextBox::Unshow(int length) {
  const int fromPending = std::min(length, static_cast<int>(pending_.size()));
  pending_.chop(fromPending);
  documentCut_ += length - fromPending;
}

void QtTextBox::PresentLater() {
  if (!presentTimer_.isActive()) {
    presentTimer_.start();
  }
}

}  // namespace window
