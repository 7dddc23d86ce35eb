#include "window/qt/qt_text_box.h"

#include <QTextCursor>
#include <algorithm>

#include "window/qt/windows1252.h"

namespace window {

namespace {

std::size_t LastLineStart(const std::string& text) {
  const std::size_t lastBreak = text.find_last_of("\r\n");
  return lastBreak == std::string::npos ? 0 : lastBreak + 1;
}

int ShownLength(std::string_view line) {
  return ScreenPosition(line, line.size());
}

}  // namespace

QtTextBox::QtTextBox(std::function<void()> load) : load_(std::move(load)) {
  presentTimer_.setSingleShot(true);
  presentTimer_.setInterval(0);
  QObject::connect(&presentTimer_, &QTimer::timeout, [this] { Present(); });
}

void QtTextBox::Attach(QPlainTextEdit& edit, std::string text) {
  edit_ = &edit;
  SetText(std::move(text));
}

void QtTextBox::Detach() {
  presentTimer_.stop();
  edit_ = nullptr;
  text_.clear();
  pending_.clear();
  documentCut_ = 0;
  lastLineStart_ = 0;
  lastLineShown_ = 0;
  replacePending_ = false;
  selectionPending_ = false;
  selStart_ = 0;
  selLength_ = 0;
}

void QtTextBox::Present() {
  presentTimer_.stop();
  if (edit_ == nullptr) {
    return;
  }
  if (replacePending_) {
    edit_->setPlainText(ScreenText(text_));
  } else if (documentCut_ > 0 || !pending_.isEmpty()) {
    const int end = edit_->document()->characterCount() - 1;
    QTextCursor tail(edit_->document());
    tail.setPosition(end - documentCut_);
    tail.setPosition(end, QTextCursor::KeepAnchor);
    tail.insertText(pending_);
  }
  replacePending_ = false;
  pending_.clear();
  documentCut_ = 0;
  if (selectionPending_) {
    selectionPending_ = false;
    QTextCursor cursor(edit_->document());
    cursor.setPosition(DocumentPosition(selStart_));
    cursor.setPosition(DocumentPosition(selStart_ + selLength_), QTextCursor::KeepAnchor);
    // Setting the widget's cursor also scrolls it into view.
    edit_->setTextCursor(cursor);
  }
}

const std::string& QtTextBox::Text() const {
  load_();
  return text_;
}

void QtTextBox::SetText(std::string text) {
  load_();
  text_ = std::move(text);
  pending_.clear();
  documentCut_ = 0;
  lastLineStart_ = LastLineStart(text_);
  lastLineShown_ = ShownLength(std::string_view(text_).substr(lastLineStart_));
  replacePending_ = true;
  selStart_ = 0;
  selLength_ = 0;
  selectionPending_ = false;
  PresentLater();
}

void QtTextBox::AppendText(std::string_view addition) {
  load_();
  if (addition.empty()) {
    return;
  }
  // A CR that ended the old text is already a break on screen; an LF right after it belongs to it.
  const bool breakContinues = !text_.empty() && text_.back() == '\r' && addition.front() == '\n';
  const std::size_t reshownFrom = breakContinues ? text_.size() + 1 : lastLineStart_;
  text_.append(addition);
  lastLineStart_ = LastLineStart(text_);
  if (replacePending_) {
    lastLineShown_ = ShownLength(std::string_view(text_).substr(lastLineStart_));
  } else {
    Unshow(lastLineShown_);
    const QString shown = ScreenText(std::string_view(text_).substr(reshownFrom));
    pending_.append(shown);
    lastLineShown_ = static_cast<int>(shown.size() - (shown.lastIndexOf(u'\n') + 1));
  }
  PresentLater();
}

void QtTextBox::SetSelStart(std::int32_t start) {
  load_();
  selStart_ = std::min(static_cast<std::size_t>(std::max(start, 0)), text_.size());
  selLength_ = 0;
  selectionPending_ = true;
  PresentLater();
}

void QtTextBox::SetSelLength(std::int32_t length) {
  load_();
  selLength_ = std::min(static_cast<std::size_t>(std::max(length, 0)), text_.size() - selStart_);
  selectionPending_ = true;
  PresentLater();
}

int QtTextBox::DocumentPosition(std::size_t offset) const {
  if (offset >= text_.size()) {
    return edit_->document()->characterCount() - 1;
  }
  return ScreenPosition(text_, offset);
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
