#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace platform {

const Error kNotEnoughMemory = ENOMEM;

std::string ErrorDescription(Error error) {
  if (error == kLockHeld) {
    return "Another process holds the lock";
  }
  return std::strerror(error);
}

std::string ArgumentText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) {
      text += ' ';
    }
    text += argv[i];
  }
  return text;
}

const char* StandardOutputLineEnd() {
  return ::isatty(STDOUT_FILENO) == 1 ? "\n" : "\r\n";
}

}  // namespace platform
