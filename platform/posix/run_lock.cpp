#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/platform.h"
#include "platform/posix/current_folder.h"
#include "platform/posix/write_open.h"

namespace platform {

Error TakeRunLock(const std::string& path, RunLock& lock) {
  posix::HostLocation location;
  if (const Error error = posix::LocateFromCurrent(path, posix::Lookup::kForCreate, location);
      error != 0) {
    return error;
  }
  int descriptor = -1;
  if (const Error error = posix::OpenForWriting(location.host, O_RDWR | O_CREAT, descriptor);
      error != 0) {
    return error;
  }
  // flock() belongs to the open file, which the system closes when the process dies: a killed
  // run leaves no stale lock.
  int result = 0;
  do {
    result = flock(descriptor, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  // The processes this program starts inherit the open file and with it the lock: it stays taken
  // while anything of the run still works, even after this program has been killed.
  if (result != 0 || fcntl(descriptor, F_SETFD, 0) != 0) {
    const Error error = errno == EWOULDBLOCK ? kLockHeld : errno;
    close(descriptor);
    return error;
  }
  lock.handle = descriptor;
  return 0;
}

void ReleaseRunLock(RunLock& lock) {
  if (lock.handle < 0 || lock.handle > INT_MAX) {
    lock.handle = -1;
    return;
  }
  close(static_cast<int>(lock.handle));
  lock.handle = -1;
}

}  // namespace platform
