#include "window/win32/screen_text.h"

namespace window {

std::string ScreenText(std::string_view bytes, bool afterCr) {
  if (afterCr && !bytes.empty() && bytes.front() == '\n') {
    bytes.remove_prefix(1);
  }
  std::string shown;
  shown.reserve(bytes.size() + bytes.size() / 16);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char byte = bytes[i];
    if (byte == '\r') {
      shown += "\r\n";
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        ++i;
      }
    } else if (byte == '\n') {
      shown += "\r\n";
    } else {
      shown += byte == '\0' ? ' ' : byte;
    }
  }
  return shown;
}

}  // namespace window
