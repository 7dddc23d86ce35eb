#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/file_links.h"
#include "platform/win32/text_encoding.h"

namespace platform {

Error TakeRunLock(const std::string& path, RunLock& lock) {
  const std::wstring name = win32::Wide(path);
  if (const Error error = win32::RemoveFileLink(name); error != 0) {
    return error;
  }
  const HANDLE file =
      CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == 0 ? ERROR_GEN_FAILURE : static_cast<Error>(error);
  }
  // A byte-range lock belongs to the handle, which the system closes when the process dies: a
  // killed run leaves no stale lock.
  OVERLAPPED start{};
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start) == 0) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    return error == ERROR_LOCK_VIOLATION ? kLockHeld
           : error == 0                  ? ERROR_GEN_FAILURE
                                         : static_cast<Error>(error);
  }
  lock.handle = reinterpret_cast<std::intptr_t>(file);
  return 0;
}

void ReleaseRunLock(RunLock& lock) {
  if (lock.handle == -1) {
    return;
  }
  const auto file = reinterpret_cast<HANDLE>(lock.handle);
  lock.handle = -1;
  // Unlocked before closing: the system frees the locks of a closed handle only eventually.
  OVERLAPPED start{};
  UnlockFileEx(file, 0, 1, 0, &start);
  CloseHandle(file);
}

}  // namespace platform
