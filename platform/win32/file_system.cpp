#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/name_rules.h"
#include "platform/platform.h"
#include "platform/win32/file_facts.h"
#include "platform/win32/file_links.h"
#include "platform/win32/ole_date.h"
#include "platform/win32/text_encoding.h"

namespace platform {

namespace {

using win32::Wide;

Error LastError() {
  const DWORD error = GetLastError();
  return error == 0 ? ERROR_GEN_FAILURE : static_cast<Error>(error);
}

HANDLE HandleOf(File file) {
  return reinterpret_cast<HANDLE>(file.handle);
}

// Reads and writes go in pieces that a DWORD count can carry.
constexpr std::size_t kLargestPiece = 1u << 30;

// The path that lists `pattern` in `folder`: "" is the current folder, and a bare drive ("c:")
// the current folder of that drive.
std::wstring SearchPath(const std::string& folder, const std::string& pattern) {
  std::string search = folder;
  if (!search.empty() && search.back() != '\\' && search.back() != '/' && search.back() != ':') {
    search += '\\';
  }
  return Wide(search + pattern);
}

bool IsListedFile(const WIN32_FIND_DATAW& found) {
  constexpr DWORD kLeftOut =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (found.dwFileAttributes & kLeftOut) == 0;
}

class Win32FileSystem final : public FileSystem {
 public:
  Error ModificationTime(const std::string& path, double& oleDate) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) == 0) {
      return LastError();
    }
    SYSTEMTIME local{};
    if (!win32::LocalTimeOf(data.ftLastWriteTime, local)) {
      return LastError();
    }
    oleDate = win32::OleDateOf(local);
    return 0;
  }

  Error Length(const std::string& path, std::int64_t& length) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) == 0) {
      return LastError();
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return ERROR_ACCESS_DENIED;
    }
    length = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                       data.nFileSizeLow);
    return 0;
  }

  Error Delete(const std::string& path) override {
    return DeleteFileW(Wide(path).c_str()) != 0 ? 0 : LastError();
  }

  Error Rename(const std::string& from, const std::string& to) override {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), 0) != 0 ? 0 : LastError();
  }

  Error MakeFolder(const std::string& path) override {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0 ? 0 : LastError();
  }

  Error OpenRead(const std::string& path, File& file) override {
    return Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, file);
  }

  Error Create(const std::string& path, File& file) override {
    // A link at the name goes, not its target: a file the programs write never lands elsewhere.
    if (const Error error = win32::RemoveFileLink(Wide(path)); error != 0) {
      return error;
    }
    return Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, file);
  }

  Error CreateNew(const std::string& path, File& file) override {
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (const Error error = win32::CreateNew(Wide(path), handle); error != 0) {
      return error;
    }
    file.handle = reinterpret_cast<std::intptr_t>(handle);
    return 0;
  }

  Error Inspect(const std::string& path, FileFacts& facts) override {
    return win32::InspectFile(Wide(path), facts);
  }

  Error NamesLike(const std::string& path, std::vector<std::string>& names) override {
    return win32::NamesLike(Wide(path), names);
  }

  Error CopySettings(File from, File to) override {
    return from.handle == -1 || to.handle == -1
               ? ERROR_INVALID_HANDLE
               : win32::CopyAttributes(HandleOf(from), HandleOf(to));
  }

  Error Truncate(File file, std::int64_t length) override {
    return file.handle == -1 ? ERROR_INVALID_HANDLE : win32::Truncate(HandleOf(file), length);
  }

  Error Read(File file, char* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    if (file.handle == -1) {
      return ERROR_INVALID_HANDLE;
    }
    DWORD count = 0;
    const auto piece = static_cast<DWORD>(std::min(size, kLargestPiece));
    if (ReadFile(HandleOf(file), buffer, piece, &count, nullptr) == 0) {
      return LastError();
    }
    got = count;
    return 0;
  }

  Error ReadAt(File file, std::int64_t offset, char* buffer, std::size_t size,
               std::size_t& got) override {
    got = 0;
    if (file.handle == -1) {
      return ERROR_INVALID_HANDLE;
    }
    // On a handle opened for ordinary reads, ReadFile at an OVERLAPPED position waits for the
    // read and also moves the file pointer.
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset));
    position.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    DWORD count = 0;
    const auto piece = static_cast<DWORD>(std::min(size, kLargestPiece));
    if (ReadFile(HandleOf(file), buffer, piece, &count, &position) == 0) {
      const Error error = LastError();
      return error == ERROR_HANDLE_EOF ? 0 : error;
    }
    got = count;
    return 0;
  }

  Error Write(File file, const char* data, std::size_t size) override {
    if (file.handle == -1) {
      return ERROR_INVALID_HANDLE;
    }
    while (size > 0) {
      DWORD count = 0;
      const auto piece = static_cast<DWORD>(std::min(size, kLargestPiece));
      if (WriteFile(HandleOf(file), data, piece, &count, nullptr) == 0) {
        return LastError();
      }
      if (count == 0) {
        return ERROR_WRITE_FAULT;
      }
      data += count;
      size -= count;
    }
    return 0;
  }

  Error Sync(File file) override {
    if (file.handle == -1) {
      return ERROR_INVALID_HANDLE;
    }
    return FlushFileBuffers(HandleOf(file)) != 0 ? 0 : LastError();
  }

  Error Close(File& file) override {
    if (file.handle == -1) {
      return 0;
    }
    const HANDLE handle = HandleOf(file);
    file.handle = -1;
    return CloseHandle(handle) != 0 ? 0 : LastError();
  }

  Error List(const std::string& folder, const std::string& pattern,
             std::vector<std::string>& names) override {
    names.clear();
    if (pattern.find_first_of("\\/:") != std::string::npos) {
      return ERROR_INVALID_NAME;
    }
    if (pattern.empty()) {
      return 0;
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW(SearchPath(folder, pattern).c_str(), FindExInfoBasic,
                                           &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
      const Error error = LastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES ? 0 : error;
    }
    do {
      std::string name;
      // A name that the 8-bit character set cannot spell could not be opened again by the
      // programs, so it is left out rather than listed in a mangled form. FindFirstFile also
      // matches 8.3 short names, under which "x.wadx" passes "*.wad", so each long name is
      // checked against the pattern again.
      if (IsListedFile(found) && win32::NarrowExactly(found.cFileName, name) &&
          common::MatchesPattern(name, pattern)) {
        names.push_back(std::move(name));
      }
    } while (FindNextFileW(search, &found) != 0);
    const Error error = LastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
      names.clear();
      return error;
    }
    common::SortForListing(names);
    return 0;
  }

 private:
  // Windows refuses to open a folder as a file or to overwrite a read-only file; Wine, run by
  // root, would do both, so both are refused here before the system is asked.
  static Error Open(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                    File& file) {
    const std::wstring name = Wide(path);
    if (const DWORD attributes = GetFileAttributesW(name.c_str());
        attributes != INVALID_FILE_ATTRIBUTES &&
        ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
         ((attributes & FILE_ATTRIBUTE_READONLY) != 0 && (access & GENERIC_WRITE) != 0))) {
      return ERROR_ACCESS_DENIED;
    }
    const HANDLE handle = CreateFileW(name.c_str(), access, share, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      return LastError();
    }
    file.handle = reinterpret_cast<std::intptr_t>(handle);
    return 0;
  }
};

}  // namespace

FileSystem& NativeFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace platform
