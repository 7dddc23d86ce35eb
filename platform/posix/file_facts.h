#pragma once

// What a program that replaces a file needs beyond plain reads and writes: what a name stands for,
// its case variants, a create that never reuses a name, and the owner and permissions carried over.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::posix {

// As the FileSystem operations of the same names; paths are Windows paths, resolved as everywhere.
[[nodiscard]] Error InspectFile(const std::string& path, FileFacts& facts);
[[nodiscard]] Error NamesLike(const std::string& path, std::vector<std::string>& names);
[[nodiscard]] Error CreateNew(const std::string& path, int& descriptor);
[[nodiscard]] Error CopySettings(int from, int to);
[[nodiscard]] Error Truncate(int descriptor, std::int64_t length);

}  // namespace platform::posix
