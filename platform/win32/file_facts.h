#pragma once

// What a program that replaces a file needs beyond plain reads and writes: what a name stands for,
// its name as stored, a create that never reuses a name, and the attributes carried over.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::win32 {

// As the FileSystem operations of the same names.
[[nodiscard]] Error InspectFile(const std::wstring& path, FileFacts& facts);
[[nodiscard]] Error NamesLike(const std::wstring& path, std::vector<std::string>& names);
[[nodiscard]] Error CreateNew(const std::wstring& path, HANDLE& handle);
[[nodiscard]] Error CopyAttributes(HANDLE from, HANDLE to);
[[nodiscard]] Error Truncate(HANDLE handle, std::int64_t length);

}  // namespace platform::win32
