#include "platform/posix/current_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/common/ascii.h"
#include "platform/platform.h"
#include "platform/posix/host_location.h"

namespace platform {

using posix::HostLocation;
using posix::Lookup;

namespace {

posix::FolderState& State() {
  static posix::FolderState state;
  return state;
}

using ascii::IsLetter;

std::vector<std::string>& FolderOfDrive(char upperCaseLetter) {
  return State().folderOfDrive[static_cast<std::size_t>(upperCaseLetter - 'A')];
}

// Makes a located folder the process's working folder, so that child processes start there.
Error EnterFolder(const HostLocation& location) {
  if (!S_ISDIR(location.status.st_mode)) {
    return ENOTDIR;
  }
  return chdir(location.host.c_str()) == 0 ? 0 : errno;
}

}  // namespace

Error posix::LocateFromCurrent(const std::string& path, Lookup lookup, HostLocation& location) {
  return Locate(State(), path, lookup, location);
}

Error ChangeDrive(char letter) {
  if (!IsLetter(letter)) {
    return ENODEV;
  }
  const std::string drive = std::string(1, letter) + ":";
  HostLocation location;
  Error error = posix::LocateFromCurrent(drive, Lookup::kExisting, location);
  if (error == ENOENT || error == ENOTDIR) {
    // The folder last current on the drive has gone since; the drive's root takes its place.
    error = posix::LocateFromCurrent(drive + "\\", Lookup::kExisting, location);
  }
  if (error == 0) {
    error = EnterFolder(location);
  }
  if (error != 0) {
    return error;
  }
  State().drive = location.drive;
  FolderOfDrive(location.drive) = location.names;
  return 0;
}

Error ChangeFolder(const std::string& path) {
  HostLocation location;
  if (const Error error = posix::LocateFromCurrent(path, Lookup::kExisting, location); error != 0) {
    return error;
  }
  posix::FolderState& state = State();
  // A host path has no drive to keep apart from the current one: it becomes current at once.
  const bool becomesCurrent = location.drive == state.drive || location.drive == 0;
  if (becomesCurrent) {
    if (const Error error = EnterFolder(location); error != 0) {
      return error;
    }
    state.drive = location.drive;
  } else if (!S_ISDIR(location.status.st_mode)) {
    return ENOTDIR;
  }
  if (location.drive != 0) {
    FolderOfDrive(location.drive) = location.names;
  }
  return 0;
}

std::string CurrentFolder() {
  const posix::FolderState& state = State();
  if (state.drive == 0) {
    HostLocation location;
    return posix::LocateFromCurrent(".", Lookup::kExisting, location) == 0 ? location.host : "";
  }
  std::string folder = std::string(1, state.drive) + ":";
  const std::vector<std::string>& names = FolderOfDrive(state.drive);
  if (names.empty()) {
    return folder + "\\";
  }
  for (const std::string& name : names) {
    folder += "\\" + name;
  }
  return folder;
}

Error HostPath(const std::string& path, std::string& host) {
  HostLocation location;
  if (const Error error = posix::LocateFromCurrent(path, Lookup::kAsFarAsItExists, location);
      error != 0) {
    return error;
  }
  host = location.host;
  // A new folder's name written with its separator is kept so for the lookups; a message names
  // it without.
  if (host.size() > 1 && host.back() == '/') {
    host.pop_back();
  }
  return 0;
}

}  // namespace platform
