#pragma once

// Opening a file for writing so that nothing but a regular file at that very name is written.

#include <string>

#include "platform/platform.h"

namespace platform::posix {

// Opens the host file `host` with `flags` (O_WRONLY or O_RDWR, with O_CREAT, O_TRUNC as wanted).
// A symbolic link or a file with further hard links at the name is removed first, so that no other
// name's file is ever written, and a symbolic link put there afterwards makes the open fail; a
// read-only file is refused as Windows refuses it, and anything but a regular file (a FIFO, a
// device) is refused without blocking.
[[nodiscard]] Error OpenForWriting(const std::string& host, int flags, int& descriptor);

}  // namespace platform::posix
