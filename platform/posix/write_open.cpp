#include "platform/posix/write_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform::posix {

namespace {

// Windows refuses to overwrite a read-only file even for an administrator, while root on POSIX
// may; so the owner's write permission is tested here rather than left to the OS.
Error MakeWay(const std::string& host) {
  struct stat status {};
  if (lstat(host.c_str(), &status) != 0) {
    return errno == ENOENT ? 0 : errno;
  }
  if (S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0) {
    return EACCES;
  }
  // A hard link shares its content with another name elsewhere; written through, that file would
  // change too. The name gets a file of its own instead, as it does for a symbolic link.
  if (S_ISLNK(status.st_mode) || (S_ISREG(status.st_mode) && status.st_nlink > 1)) {
    return unlink(host.c_str()) == 0 || errno == ENOENT ? 0 : errno;
  }
  return 0;
}

}  // namespace

Error OpenForWriting(const std::string& host, int flags, int& descriptor) {
  if (const Error error = MakeWay(host); error != 0) {
    return error;
  }
  // O_NOFOLLOW: a link put at the name after MakeWay makes the open fail instead of writing
  // through it. O_NONBLOCK: a FIFO fails or is refused below rather than blocking; regular files
  // ignore it.
  const int opened = open(host.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
  if (opened < 0) {
    return errno;
  }
  // The descriptor may become a child's standard output, which should not surprise it by
  // being non-blocking.
  struct stat status {};
  const Error error = fstat(opened, &status) != 0                                         ? errno
                      : !S_ISREG(status.st_mode)                                          ? EACCES
                      : fcntl(opened, F_SETFL, fcntl(opened, F_GETFL) & ~O_NONBLOCK) != 0 ? errno
                                                                                          : 0;
  if (error != 0) {
    close(opened);
    return error;
  }
  descriptor = opened;
  return 0;
}

}  // namespace platform::posix
