#include "window/log_box.h"

#include <algorithm>

namespace window {

namespace {

std::size_t Clamp(std::int32_t value, std::size_t limit) {
  return std::min(static_cast<std::size_t>(std::max(value, 0)), limit);
}

}  // namespace

LogBox::LogBox(std::function<void()> load) : load_(std::move(load)) {}

const std::string& LogBox::Text() const {
  load_();
  return text_;
}

void LogBox::SetText(std::string text) {
  load_();
  text_ = std::move(text);
  if (echo_ && !text_.empty()) {
    echo_("\r\n");
    echo_(text_);
  }
  selStart_ = 0;
  selLength_ = 0;
  replacePending_ = true;
  selectionPending_ = true;
  PresentLater();
}

void LogBox::AppendText(std::string_view addition) {
  load_();
  if (addition.empty()) {
    return;
  }
  const std::size_t from = text_.size();
  text_.append(addition);
  if (echo_) {
    echo_(addition);
  }
  if (!replacePending_) {
    Appended(from);
  }
  PresentLater();
}

void LogBox::SetSelStart(std::int32_t start) {
  load_();
  selStart_ = Clamp(start, text_.size());
  selLength_ = 0;
  selectionPending_ = true;
  PresentLater();
}

void LogBox::SetSelLength(std::int32_t length) {
  load_();
  selLength_ = Clamp(length, text_.size() - selStart_);
  selectionPending_ = true;
  PresentLater();
}

void LogBox::Present() {
  const Changes changes{replacePending_, selectionPending_};
  replacePending_ = false;
  selectionPending_ = false;
  Draw(changes);
}

void LogBox::Reset() {
  text_.clear();
  selStart_ = 0;
  selLength_ = 0;
  replacePending_ = false;
  selectionPending_ = false;
  echo_ = nullptr;
  Forget();
}

void LogBox::Echo(std::function<void(std::string_view)> echo) {
  const bool started = static_cast<bool>(echo_);
  echo_ = std::move(echo);
  if (!started && echo_ && !text_.empty()) {
    echo_(text_);
  }
}

void LogBox::Appended(std::size_t /*from*/) {}

void LogBox::Draw(Changes /*changes*/) {}

void LogBox::PresentLater() {}

void LogBox::Forget() {}

}  // namespace window
