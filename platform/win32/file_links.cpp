#include "platform/win32/file_links.h"

#include <windows.h>

#include <string>

namespace platform::win32 {

Error RemoveFileLink(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  // A folder link stays: the open that follows refuses it as a folder.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return 0;
  }
  if (DeleteFileW(name.c_str()) != 0) {
    return 0;
  }
  const DWORD error = GetLastError();
  return error == 0 ? ERROR_GEN_FAILURE : static_cast<Error>(error);
}

}  // namespace platform::win32
