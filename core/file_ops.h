#pragma once

// File-system routines that report by result and trace every step into the session trace.
// Truth values are -1 (true, success) and 0 (false); error numbers are positive. Callers compare
// with -1 only. All but SetCHDriveCHDir catch every failure of their own steps. Each works on
// `fs`, the operating system's file system unless a run stands another one in.

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace core {

// Makes the drive named by the path's first character current, then the folder
// PathWithoutTrailingSlash(path). Not trapped: a failure throws core::SystemFailure, and the trace
// stays one level deeper.
void SetCHDriveCHDir(std::string absolutePath);
// -1 when the file or folder exists (its time can be read), else 0.
[[nodiscard]] std::int16_t DetectIfAFileExistsTrueFalseAbs(
    std::string absoluteFileName, platform::FileSystem& fs = platform::NativeFileSystem());
// -1 when the file is gone afterwards (deleted or never there), else the error number of the
// delete.
[[nodiscard]] std::int16_t KillFileWithoutErrorIfNotExistTermOnFailureAbs(
    std::string absoluteFileName, platform::FileSystem& fs = platform::NativeFileSystem());
// -1 when the folder exists afterwards (found or created), else the error number of the creation.
// Only the last level is created, under its lower-cased, trimmed name.
[[nodiscard]] std::int32_t MakeDirIfDoesNotExistReturnErrorCodeAbs(
    std::string absolutePath, platform::FileSystem& fs = platform::NativeFileSystem());
// Replaces the file with exactly `text`: -1 on success, else the error number of the failed step.
// The file is a new one of its own: whatever stood at the name (a link too) is deleted first.
[[nodiscard]] std::int32_t StringToFile(std::string text, std::string fileName,
                                        platform::FileSystem& fs = platform::NativeFileSystem());
// The whole file, or the empty string when it cannot be read.
std::string StringFromFile(std::string fileName,
                           platform::FileSystem& fs = platform::NativeFileSystem());

}  // namespace core
