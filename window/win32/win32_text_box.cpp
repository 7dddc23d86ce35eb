#include "window/win32/win32_text_box.h"

#include <algorithm>

#include "window/win32/screen_text.h"

namespace window {

Win32TextBox::Win32TextBox(std::function<void()> load) : load_(std::move(load)) {}

void Win32TextBox::Attach(HWND edit, std::string text) {
  edit_ = edit;
  // The control's own limit of about 32 000 characters would stop appends of a long run.
  SendMessageA(edit_, EM_SETLIMITTEXT, 0, 0);
  SetText(std::move(text));
  Present();
}

void Win32TextBox::Detach() {
  edit_ = nullptr;
  text_.clear();
  pending_.clear();
  replacePending_ = false;
  selectionPending_ = false;
  selStart_ = 0;
  selLength_ = 0;
}

void Win32TextBox::Present() {
  if (edit_ == nullptr) {
    return;
  }
  if (replacePending_) {
    SetWindowTextA(edit_, ScreenText(text_).c_str());
  } else if (!pending_.empty()) {
    DWORD anchor = 0;
    DWORD caret = 0;
    SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&anchor),
                 reinterpret_cast<LPARAM>(&caret));
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit_));
    SendMessageA(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageA(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pending_.c_str()));
    SendMessageA(edit_, EM_SETSEL, anchor, static_cast<LPARAM>(caret));
  }
  replacePending_ = false;
  pending_.clear();
  if (selectionPending_) {
    selectionPending_ = false;
    SendMessageA(edit_, EM_SETSEL, ScreenPosition(selStart_),
                 static_cast<LPARAM>(ScreenPosition(selStart_ + selLength_)));
    ScrollCaretIntoView();
  }
}

void Win32TextBox::ScrollCaretIntoView() const {
  if (edit_ != nullptr) {
    SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
  }
}

const std::string& Win32TextBox::Text() const {
  load_();
  return text_;
}

void Win32TextBox::SetText(std::string text) {
  load_();
  text_ = std::move(text);
  pending_.clear();
  replacePending_ = true;
  selStart_ = 0;
  selLength_ = 0;
  selectionPending_ = true;
}

void Win32TextBox::AppendText(std::string_view addition) {
  load_();
  if (addition.empty()) {
    return;
  }
  // A CR that ended the old text is already a break on screen; an LF right after it belongs to it.
  const bool afterCr = !text_.empty() && text_.back() == '\r';
  text_.append(addition);
  if (!replacePending_) {
    pending_ += ScreenText(addition, afterCr);
  }
}

void Win32TextBox::SetSelStart(std::int32_t start) {
  load_();
  selStart_ = std::min(static_cast<std::size_t>(std::max(start, 0)), text_.size());
  selLength_ = 0;
  selectionPending_ = true;
}

void Win32TextBox::SetSelLength(std::int32_t length) {
  load_();
  selLength_ = std::min(static_cast<std::size_t>(std::max(length, 0)), text_.size() - selStart_);
  selectionPending_ = true;
}

WPARAM Win32TextBox::ScreenPosition(std::size_t offset) const {
  if (offset >= text_.size()) {
    return static_cast<WPARAM>(GetWindowTextLengthW(edit_));
  }
  // The control counts characters of the system's code page, after the breaks are made CR LF.
  const std::string shown = ScreenText(std::string_view(text_).substr(0, offset));
  return static_cast<WPARAM>(
      MultiByteToWideChar(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()), nullptr, 0));
}

}  // namespace window
