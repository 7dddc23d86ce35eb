// The current drive and folder are the process's own, kept by Windows. The folder last current on
// each other drive lives where the C runtime and cmd.exe keep it, in the hidden environment
// variables "=C:", "=D:" and so on, which child processes inherit.

#include <windows.h>

#include <iterator>
#include <string>

#include "platform/platform.h"
#include "platform/win32/text_encoding.h"

namespace platform {

namespace {

using win32::Narrow;
using win32::Wide;

Error LastError() {
  const DWORD error = GetLastError();
  return error == 0 ? ERROR_GEN_FAILURE : static_cast<Error>(error);
}

wchar_t UpperCase(wchar_t letter) {
  return letter >= L'a' && letter <= L'z' ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
}

bool IsLetter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// The drive letter of a full path, upper case, or 0 for a path on no drive (a network share).
wchar_t DriveOf(const std::wstring& fullPath) {
  return fullPath.size() >= 2 && fullPath[1] == L':' && IsLetter(fullPath[0])
             ? UpperCase(fullPath[0])
             : L'\0';
}

std::wstring DriveVariable(wchar_t drive) {
  return std::wstring(L"=") + drive + L":";
}

Error FullPath(const std::wstring& path, std::wstring& full) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  while (size > 0) {
    full.assign(size, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (written < size) {
      full.resize(written);
      return 0;
    }
    size = written;
  }
  return LastError();
}

std::wstring CurrentDirectory() {
  std::wstring current;
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  while (size > 0) {
    current.assign(size, L'\0');
    const DWORD written = GetCurrentDirectoryW(size, current.data());
    if (written < size) {
      current.resize(written);
      return current;
    }
    size = written;
  }
  return current;
}

// The folder last current on `drive`: its root when none was recorded.
std::wstring RememberedFolder(wchar_t drive) {
  wchar_t folder[MAX_PATH * 4];
  const DWORD length = GetEnvironmentVariableW(DriveVariable(drive).c_str(), folder,
                                               static_cast<DWORD>(std::size(folder)));
  if (length > 0 && length < std::size(folder) && DriveOf(folder) == drive) {
    return folder;
  }
  return std::wstring(1, drive) + L":\\";
}

void RememberFolder(const std::wstring& fullPath) {
  if (const wchar_t drive = DriveOf(fullPath); drive != L'\0') {
    SetEnvironmentVariableW(DriveVariable(drive).c_str(), fullPath.c_str());
  }
}

Error IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return LastError();
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : ERROR_DIRECTORY;
}

Error Enter(const std::wstring& fullPath) {
  if (SetCurrentDirectoryW(fullPath.c_str()) == 0) {
    return LastError();
  }
  RememberFolder(fullPath);
  return 0;
}

// Each name of an existing full path as the file system spells it; parts that cannot be found
// (and a network share's server and share names) stay as written.
std::wstring LetterCaseOnDisk(const std::wstring& fullPath) {
  if (DriveOf(fullPath) == L'\0' || fullPath.size() < 3) {
    return fullPath;
  }
  std::wstring result = std::wstring(1, DriveOf(fullPath)) + L":";
  std::size_t start = 3;
  while (start <= fullPath.size()) {
    std::size_t end = fullPath.find(L'\\', start);
    if (end == std::wstring::npos) {
      end = fullPath.size();
    }
    const std::wstring name = fullPath.substr(start, end - start);
    if (!name.empty()) {
      WIN32_FIND_DATAW found{};
      const std::wstring sofar = result + L"\\" + name;
      const HANDLE search = name.find_first_of(L"*?") == std::wstring::npos
                                ? FindFirstFileW(sofar.c_str(), &found)
                                : INVALID_HANDLE_VALUE;
      if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        result += std::wstring(L"\\") + found.cFileName;
      } else {
        result = sofar;
      }
    }
    start = end + 1;
  }
  return result.size() == 2 ? result + L"\\" : result;
}

}  // namespace

Error ChangeDrive(char letter) {
  if (!IsLetter(static_cast<unsigned char>(letter))) {
    return ERROR_INVALID_DRIVE;
  }
  const wchar_t drive = UpperCase(static_cast<wchar_t>(letter));
  const std::wstring current = CurrentDirectory();
  if (DriveOf(current) == drive) {
    return 0;
  }
  RememberFolder(current);
  if (Enter(RememberedFolder(drive)) == 0) {
    return 0;
  }
  // The folder last current on the drive has gone since; the drive's root takes its place.
  return Enter(std::wstring(1, drive) + L":\\");
}

Error ChangeFolder(const std::string& path) {
  std::wstring full;
  if (const Error error = FullPath(Wide(path), full); error != 0) {
    return error;
  }
  while (full.size() > 3 && full.back() == L'\\') {
    full.pop_back();
  }
  if (const Error error = IsFolder(full); error != 0) {
    return error;
  }
  const wchar_t drive = DriveOf(full);
  if (drive != L'\0' && drive != DriveOf(CurrentDirectory())) {
    RememberFolder(full);
    return 0;
  }
  return Enter(full);
}

std::string CurrentFolder() {
  return Narrow(LetterCaseOnDisk(CurrentDirectory()));
}

Error HostPath(const std::string& path, std::string& host) {
  std::wstring full;
  if (const Error error = FullPath(Wide(path), full); error != 0) {
    return error;
  }
  host = Narrow(full);
  return 0;
}

}  // namespace platform
