#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/name_rules.h"
#include "platform/platform.h"
#include "platform/posix/current_folder.h"
#include "platform/posix/file_facts.h"
#include "platform/posix/ole_date.h"
#include "platform/posix/write_open.h"

namespace platform {

namespace {

using posix::HostLocation;
using posix::Lookup;

Error Status(const std::string& path, HostLocation& location, struct stat& status) {
  if (const Error error = posix::LocateFromCurrent(path, Lookup::kExisting, location); error != 0) {
    return error;
  }
  status = location.status;
  return 0;
}

Error Descriptor(File file, int& descriptor) {
  if (file.handle < 0 || file.handle > INT_MAX) {
    return EBADF;
  }
  descriptor = static_cast<int>(file.handle);
  return 0;
}

// One read of the open `file` by `io`, retried when a signal interrupts it; `got` is what it read.
template <typename Io>
Error ReadWith(File file, std::size_t& got, Io io) {
  got = 0;
  int descriptor = -1;
  if (const Error error = Descriptor(file, descriptor); error != 0) {
    return error;
  }
  ssize_t count = 0;
  do {
    count = io(descriptor);
  } while (count < 0 && errno == EINTR);
  if (count < 0) {
    return errno;
  }
  got = static_cast<std::size_t>(count);
  return 0;
}

// Windows refuses to delete or overwrite a read-only file even for an administrator, while root
// on POSIX may do both; so the owner's write permission is tested here rather than left to the OS.
bool IsReadOnly(const struct stat& status) {
  return (status.st_mode & S_IWUSR) == 0;
}

Error RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS) {
    return errno;
  }
  // File systems without RENAME_NOREPLACE: test first, at the cost of a race with other programs.
  struct stat status {};
  if (lstat(to.c_str(), &status) == 0) {
    return EEXIST;
  }
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

bool IsListedFile(int folder, const dirent& entry) {
  if (entry.d_type == DT_REG) {
    return true;
  }
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
    return false;
  }
  struct stat status {};
  return fstatat(folder, entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

class PosixFileSystem final : public FileSystem {
 public:
  Error ModificationTime(const std::string& path, double& oleDate) override {
    HostLocation location;
    struct stat status {};
    if (const Error error = Status(path, location, status); error != 0) {
      return error;
    }
    oleDate = posix::OleDateOf(status.st_mtim.tv_sec);
    return 0;
  }

  Error Length(const std::string& path, std::int64_t& length) override {
    HostLocation location;
    struct stat status {};
    if (const Error error = Status(path, location, status); error != 0) {
      return error;
    }
    if (!S_ISREG(status.st_mode)) {
      return S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    }
    length = status.st_size;
    return 0;
  }

  Error Delete(const std::string& path) override {
    // Looked up as for a new file, so that a link leading nowhere is found and can be deleted;
    // lstat() tells whether anything stands at the name.
    HostLocation location;
    if (const Error error = posix::LocateFromCurrent(path, Lookup::kForCreate, location);
        error != 0) {
      return error;
    }
    struct stat status {};
    if (lstat(location.host.c_str(), &status) != 0) {
      return errno;
    }
    if (S_ISDIR(status.st_mode)) {
      return EISDIR;
    }
    if (!S_ISLNK(status.st_mode) && IsReadOnly(status)) {
      return EACCES;
    }
    return unlink(location.host.c_str()) == 0 ? 0 : errno;
  }

  Error Rename(const std::string& from, const std::string& to) override {
    HostLocation source;
    HostLocation target;
    if (const Error error = posix::LocateFromCurrent(from, Lookup::kExisting, source); error != 0) {
      return error;
    }
    if (const Error error = posix::LocateFromCurrent(to, Lookup::kForCreate, target); error != 0) {
      return error;
    }
    const std::string name = NameAsGiven(to);
    if (target.host == source.host && !target.names.empty() && !name.empty() && name != "." &&
        name != "..") {
      // The target names the source itself in other letter case: a change of case only, which
      // Windows allows.
      target.names.back() = name;
      target.host = posix::JoinHost(target.root, target.names);
      if (target.host == source.host) {
        return 0;
      }
    }
    return RenameWithoutReplacing(source.host, target.host);
  }

  Error MakeFolder(const std::string& path) override {
    HostLocation location;
    if (const Error error = posix::LocateFromCurrent(path, Lookup::kForCreate, location);
        error != 0) {
      return error;
    }
    return mkdir(location.host.c_str(), 0777) == 0 ? 0 : errno;
  }

  Error OpenRead(const std::string& path, File& file) override {
    HostLocation location;
    if (const Error error = posix::LocateFromCurrent(path, Lookup::kExisting, location);
        error != 0) {
      return error;
    }
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; regular files ignore it.
    const int descriptor = open(location.host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
      return errno;
    }
    struct stat status {};
    const Error error = fstat(descriptor, &status) != 0 ? errno
                        : S_ISDIR(status.st_mode)       ? EISDIR
                        : fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0
                            ? errno
                            : 0;
    if (error != 0) {
      close(descriptor);
      return error;
    }
    file.handle = descriptor;
    return 0;
  }

  Error Create(const std::string& path, File& file) override {
    HostLocation location;
    if (const Error error = posix::LocateFromCurrent(path, Lookup::kForCreate, location);
        error != 0) {
      return error;
    }
    int descriptor = -1;
    if (const Error error =
            posix::OpenForWriting(location.host, O_WRONLY | O_CREAT | O_TRUNC, descriptor);
        error != 0) {
      return error;
    }
    file.handle = descriptor;
    return 0;
  }

  Error CreateNew(const std::string& path, File& file) override {
    int descriptor = -1;
    if (const Error error = posix::CreateNew(path, descriptor); error != 0) {
      return error;
    }
    file.handle = descriptor;
    return 0;
  }

  Error Inspect(const std::string& path, FileFacts& facts) override {
    return posix::InspectFile(path, facts);
  }

  Error NamesLike(const std::string& path, std::vector<std::string>& names) override {
    return posix::NamesLike(path, names);
  }

  Error CopySettings(File from, File to) override {
    int source = -1;
    int target = -1;
    if (const Error error = Descriptor(from, source); error != 0) {
      return error;
    }
    if (const Error error = Descriptor(to, target); error != 0) {
      return error;
    }
    return posix::CopySettings(source, target);
  }

  Error Truncate(File file, std::int64_t length) override {
    int descriptor = -1;
    if (const Error error = Descriptor(file, descriptor); error != 0) {
      return error;
    }
    return posix::Truncate(descriptor, length);
  }

  Error Read(File file, char* buffer, std::size_t size, std::size_t& got) override {
    return ReadWith(file, got, [&](int descriptor) { return read(descriptor, buffer, size); });
  }

  Error ReadAt(File file, std::int64_t offset, char* buffer, std::size_t size,
               std::size_t& got) override {
    return ReadWith(file, got,
                    [&](int descriptor) { return pread(descriptor, buffer, size, offset); });
  }

  Error Write(File file, const char* data, std::size_t size) override {
    int descriptor = -1;
    if (const Error error = Descriptor(file, descriptor); error != 0) {
      return error;
    }
    while (size > 0) {
      const ssize_t count = write(descriptor, data, size);
      if (count < 0) {
        if (errno == EINTR) {
          continue;
        }
        return errno;
      }
      data += count;
      size -= static_cast<std::size_t>(count);
    }
    return 0;
  }

  Error Sync(File file) override {
    int descriptor = -1;
    if (const Error error = Descriptor(file, descriptor); error != 0) {
      return error;
    }
    return fsync(descriptor) == 0 ? 0 : errno;
  }

  void StartWriteBack(File file, std::int64_t offset, std::int64_t length) override {
    int descriptor = -1;
    if (Descriptor(file, descriptor) == 0) {
      sync_file_range(descriptor, offset, length, SYNC_FILE_RANGE_WRITE);
    }
  }

  Error Close(File& file) override {
    if (file.handle == -1) {
      return 0;
    }
    int descriptor = -1;
    const Error invalid = Descriptor(file, descriptor);
    file.handle = -1;
    if (invalid != 0) {
      return invalid;
    }
    // On Linux the descriptor is released even when close() reports EINTR.
    return close(descriptor) == 0 || errno == EINTR ? 0 : errno;
  }

  Error List(const std::string& folder, const std::string& pattern,
             std::vector<std::string>& names) override {
    names.clear();
    if (pattern.find_first_of("\\/") != std::string::npos) {
      return EINVAL;
    }
    HostLocation location;
    if (const Error error = posix::LocateFromCurrent(folder, Lookup::kExisting, location);
        error != 0) {
      return error;
    }
    DIR* dir = opendir(location.host.c_str());
    if (dir == nullptr) {
      return errno;
    }
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
      // Hidden names, and names Windows cannot hold, never reach the programs: a line break in a
      // name would split a batch line.
      if (entry->d_name[0] != '.' && common::WindowsCanHold(entry->d_name) &&
          common::MatchesPattern(entry->d_name, pattern) && IsListedFile(dirfd(dir), *entry)) {
        names.emplace_back(entry->d_name);
      }
      errno = 0;
    }
    const Error error = errno;
    closedir(dir);
    if (error != 0) {
      names.clear();
      return error;
    }
    common::SortForListing(names);
    return 0;
  }

 private:
  // The last name of a path as written, as Windows takes it.
  static std::string NameAsGiven(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    if (separator == std::string::npos && name.size() >= 2 && name[1] == ':') {
      name = name.substr(2);
    }
    return std::string(common::WithoutTrailingDotsAndSpaces(name));
  }
};

}  // namespace

FileSystem& NativeFileSystem() {
  static PosixFileSystem fileSystem;
  return fileSystem;
}

}  // namespace platform
