#include "window/qt/qt_text_box.h"

#include <QTextCursor>
#include <algorithm>

#include "window/qt/windows1252.h"

namespace window {

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
  } else if (!pending_.isEmpty()) {
    QTextCursor end(edit_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(pending_);
  }
  replacePending_ = false;
  pending_.clear();
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
  text_.append(addition);
  if (!replacePending_) {
    pending_.append(ScreenText(breakContinues ? addition.substr(1) : addition));
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
  int position = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (!(text_[i] == '\n' && i > 0 && text_[i - 1] == '\r')) {
      ++position;
    }
  }
  return position;
}

void QtTextBox::PresentLater() {
  if (!presentTimer_.isActive()) {
    presentTimer_.start();
  }
}

}  // namespace window
