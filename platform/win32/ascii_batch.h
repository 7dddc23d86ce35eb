#pragma once

// Batch files that any cmd.exe reads right, whatever the letters of the names in them.

#include <string>
#include <vector>

namespace platform::win32 {

// Rewrites the batch file `path` (UTF-8) in plain ASCII as common::AsciiBatchText gives it and
// returns the environment entries ("KORVANE_TEXT_1=...") that the batch's interpreter needs. A
// batch of plain ASCII, or one that cannot be read or rewritten, is left as it is with no entries.
std::vector<std::wstring> MakeBatchAscii(const std::string& path);

}  // namespace platform::win32
