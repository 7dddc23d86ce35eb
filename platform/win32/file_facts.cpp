#include "platform/win32/file_facts.h"

#include <utility>

#include "platform/win32/text_encoding.h"

namespace platform::win32 {

namespace {

Error LastError() {
  const DWORD error = GetLastError();
  return error == 0 ? ERROR_GEN_FAILURE : static_cast<Error>(error);
}

// The attributes a file keeps when it is written anew. Read-only is left out: a read-only file is
// refused before it is replaced.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

Error InspectFile(const std::wstring& path, FileFacts& facts) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return LastError();
  }
  facts.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    facts.kind = FileKind::kFolder;
    return 0;
  }
  // A device or a pipe answers to a name too; opened without any access right it tells its type
  // without being read.
  const HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return LastError();
  }
  facts.kind = GetFileType(handle) == FILE_TYPE_DISK ? FileKind::kRegular : FileKind::kOther;
  CloseHandle(handle);
  return 0;
}

Error NamesLike(const std::wstring& path, std::vector<std::string>& names) {
  names.clear();
  if (path.find_first_of(L"*?") != std::wstring::npos) {
    return ERROR_INVALID_NAME;
  }
  WIN32_FIND_DATAW found{};
  const HANDLE search =
      FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) {
    const Error error = LastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;
  }
  FindClose(search);
  // Without wildcards the search finds the one file of that name, in the letter case it has. A
  // name that the 8-bit character set cannot spell would lead elsewhere.
  std::string name;
  if (!NarrowExactly(found.cFileName, name)) {
    return ERROR_INVALID_NAME;
  }
  names.push_back(std::move(name));
  return 0;
}

Error CreateNew(const std::wstring& path, HANDLE& handle) {
  // CREATE_NEW fails on anything at the name, a link included, so nothing is written through.
  handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  return handle == INVALID_HANDLE_VALUE ? LastError() : 0;
}

Error CopyAttributes(HANDLE from, HANDLE to) {
  BY_HANDLE_FILE_INFORMATION source{};
  if (GetFileInformationByHandle(from, &source) == 0) {
    return LastError();
  }
  const DWORD kept = source.dwFileAttributes & kKeptAttributes;
  // Times of zero are left as they are.
  FILE_BASIC_INFO basic{};
  basic.FileAttributes = kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
  return SetFileInformationByHandle(to, FileBasicInfo, &basic, sizeof basic) != 0 ? 0 : LastError();
}

Error Truncate(HANDLE handle, std::int64_t length) {
  LARGE_INTEGER position{};
  position.QuadPart = length;
  if (SetFilePointerEx(handle, position, nullptr, FILE_BEGIN) == 0 || SetEndOfFile(handle) == 0) {
    return LastError();
  }
  return 0;
}

}  // namespace platform::win32
