#pragma once

#include <string>

#include "platform/platform.h"

namespace platform::win32 {

// Makes way for a new file at `name`: a file link (a reparse point) there, or a file with further
// hard links, is deleted, which removes that name and not the file under the others. Anything else
// stays for the caller's own open to judge.
[[nodiscard]] Error RemoveFileLink(const std::wstring& name);

}  // namespace platform::win32
