#include "platform/win32/text_encoding.h"

#include <windows.h>

namespace platform::win32 {

namespace {

std::string Encode(const std::wstring& text, DWORD flags, BOOL* usedDefault) {
  if (text.empty()) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, usedDefault);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, text.data(), length, narrow.data(), size, nullptr,
                      usedDefault);
  return narrow;
}

}  // namespace

std::wstring Wide(const std::string& text) {
  if (text.empty()) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
  return wide;
}

std::string Narrow(const std::wstring& text) {
  return Encode(text, 0, nullptr);
}

bool NarrowExactly(const std::wstring& text, std::string& narrow) {
  BOOL usedDefault = FALSE;
  narrow = Encode(text, WC_NO_BEST_FIT_CHARS, &usedDefault);
  return usedDefault == FALSE;
}

}  // namespace platform::win32
