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
  lineStart_ = 0;
  lineStartOnScreen_ = 0;
  drawn_ = 0;
}

void Win32TextBox::Draw(Changes changes) {
  if (edit_ == nullptr) {
    return;
  }
  if (changes.replaced) {
    SetWindowTextW(edit_, L"");
    lineStart_ = 0;
    lineStartOnScreen_ = 0;
    drawn_ = 0;
  }
  if (drawn_ != Bytes().size()) {
    ShowLastLine();
  }
  if (changes.selectionMoved) {
    const auto start = static_cast<std::size_t>(SelStart());
    SendMessageW(
        edit_, EM_SETSEL, ScreenPosition(start),
        static_cast<LPARAM>(ScreenPosition(start + static_cast<std::size_t>(SelLength()))));
    ScrollCaretIntoView();
  }
}

// Bytes still to come may change how the last line shows: the rest of a character split between
// two appends, or the ": " after a character that a decision line cut. So the control's text from
// the last line's start on is shown anew from the bytes, and the start moves past the last break.
void Win32TextBox::ShowLastLine() {
  const std::string_view text = Bytes();
  const auto afterCr = [&](std::size_t at) { return at > 0 && text[at - 1] == '\r'; };
  const std::size_t lastBreak = text.find_last_of("\r\n");
  const std::size_t nextStart =
      lastBreak == std::string_view::npos || lastBreak < lineStart_ ? lineStart_ : lastBreak + 1;
  const std::wstring ended =
      ScreenWide(ScreenText(text.substr(lineStart_, nextStart - lineStart_), afterCr(lineStart_)));
  const std::wstring shown =
      ended + ScreenWide(ScreenText(text.substr(nextStart), afterCr(nextStart)));
  DWORD anchor = 0;
  DWORD caret = 0;
  SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&anchor),
               reinterpret_cast<LPARAM>(&caret));
  SendMessageW(edit_, EM_SETSEL, lineStartOnScreen_,
               static_cast<LPARAM>(GetWindowTextLengthW(edit_)));
  SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(shown.c_str()));
  SendMessageW(edit_, EM_SETSEL, anchor, static_cast<LPARAM>(caret));
  lineStartOnScreen_ += ended.size();
  lineStart_ = nextStart;
  drawn_ = text.size();
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
