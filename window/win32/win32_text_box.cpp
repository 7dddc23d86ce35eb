#include "window/win32/win32_text_box.h"

#include <string_view>

#include "window/win32/screen_text.h"

namespace window {

Win32TextBox::Win32TextBox(std::function<void()> load) : LogBox(std::move(load)) {}

void Win32TextBox::Attach(HWND edit) {
  edit_ = edit;
  // The control's own limit of about 32 000 characters would stop appends of a long run.
  SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
}

void Win32TextBox::Forget() {
  edit_ = nullptr;
  pending_.clear();
}

void Win32TextBox::Appended(std::size_t from) {
  const std::string_view text = Bytes();
  // A CR that ended the old text is already a break on screen; an LF right after it belongs to it.
  pending_ += ScreenWide(ScreenText(text.substr(from), from > 0 && text[from - 1] == '\r'));
}

void Win32TextBox::Draw(Changes changes) {
  if (edit_ == nullptr) {
    return;
  }
  if (changes.replaced) {
    SetWindowTextW(edit_, ScreenWide(ScreenText(Bytes())).c_str());
  } else if (!pending_.empty()) {
    DWORD anchor = 0;
    DWORD caret = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&anchor),
                 reinterpret_cast<LPARAM>(&caret));
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit_));
    SendMessageW(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pending_.c_str()));
    SendMessageW(edit_, EM_SETSEL, anchor, static_cast<LPARAM>(caret));
  }
  pending_.clear();
  if (changes.selectionMoved) {
    const auto start = static_cast<std::size_t>(SelStart());
    SendMessageW(
        edit_, EM_SETSEL, ScreenPosition(start),
        static_cast<LPARAM>(ScreenPosition(start + static_cast<std::size_t>(SelLength()))));
    ScrollCaretIntoView();
  }
}

void Win32TextBox::ScrollCaretIntoView() const {
  if (edit_ != nullptr) {
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  }
}

WPARAM Win32TextBox::ScreenPosition(std::size_t offset) const {
  if (offset >= Bytes().size()) {
    return static_cast<WPARAM>(GetWindowTextLengthW(edit_));
  }
  // The control counts UTF-16 units, after the breaks are made CR LF.
  return static_cast<WPARAM>(
      ScreenWide(ScreenText(std::string_view(Bytes()).substr(0, offset))).size());
}

}  // namespace window
