#include "platform/win32/file_links.h"

#include <windows.h>

#include <string>

namespace platform::win32 {

namespace {

// True for a file that shares its content with further names (hard links): written through, the
// file under those names would change too.
bool HasFurtherNames(const std::wstring& name) {
  const HANDLE handle = CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return false;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  const bool shared =
      GetFileInformationByHandle(handle, &information) != 0 && information.nNumberOfLinks > 1;
  CloseHandle(handle);
  return shared;
}

}  // namespace

Error RemoveFileLink(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  // A folder link stays: the open that follows refuses it as a folder.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return 0;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && !HasFurtherNames(name)) {
    return 0;
  }
  if (DeleteFileW(name.c_str()) != 0) {
    return 0;
  }
  const DWORD error = GetLastError();
  return error == 0 ? ERROR_GEN_FAILURE : static_cast<Error>(error);
}

}  // namespace platform::win32
