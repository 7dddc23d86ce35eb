#include "platform/win32/text_encoding.h"

#include <windows.h>

namespace platform::win32 {

namespace {

// Empty when `flags` make the conversion refuse the text.
std::string Encode(const std::wstring& text, DWORD flags) {
  if (text.empty()) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, flags, text.data(), length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::wstring Wide(const std::string& text) {
  if (text.empty()) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
  return wide;
}

std::string Narrow(const std::wstring& text) {
  return Encode(text, 0);
}

bool NarrowExactly(const std::wstring& text, std::string& narrow) {
  narrow = Encode(text, WC_ERR_INVALID_CHARS);
  return text.empty() || !narrow.empty();
}

}  // namespace platform::win32
