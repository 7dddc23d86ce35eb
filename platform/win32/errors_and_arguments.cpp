#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/win32/text_encoding.h"

namespace platform {

namespace {

// Standard output and error carry the programs' bytes unchanged, as on every other target: in the
// C runtime's text mode each "\r\n" that wadconv writes into a conversion log would reach it as
// "\r\r\n". Set once at start-up in every program that reads its command line.
const bool kBinaryStandardStreams = [] {
  return _setmode(_fileno(stdout), _O_BINARY) != -1 && _setmode(_fileno(stderr), _O_BINARY) != -1;
}();

}  // namespace

const Error kNotEnoughMemory = ERROR_NOT_ENOUGH_MEMORY;

std::string ErrorDescription(Error error) {
  if (error == kLockHeld) {
    return "Another process holds the lock";
  }
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) {
    return "Unknown error " + std::to_string(error);
  }
  std::wstring description(text, length);
  LocalFree(text);
  // The system's texts end in a full stop and a line break, which the reports add themselves.
  while (!description.empty() && (description.back() == L'\r' || description.back() == L'\n' ||
                                  description.back() == L' ' || description.back() == L'.')) {
    description.pop_back();
  }
  return win32::Narrow(description);
}

// The command line exactly as the program was started with it, after the program's own name and
// the blanks that end it; quotes stay where the user typed them. The name ends at its closing
// quote when it starts with one, otherwise at the first blank, as Windows itself reads it.
std::string ArgumentText(int, char**) {
  const std::wstring line = GetCommandLineW();
  std::size_t position = std::wstring::npos;
  if (!line.empty() && line[0] == L'"') {
    const std::size_t closing = line.find(L'"', 1);
    position = closing == std::wstring::npos ? closing : closing + 1;
  } else {
    position = line.find_first_of(L" \t");
  }
  if (position != std::wstring::npos) {
    position = line.find_first_not_of(L" \t", position);
  }
  return position == std::wstring::npos ? std::string() : win32::Narrow(line.substr(position));
}

}  // namespace platform
