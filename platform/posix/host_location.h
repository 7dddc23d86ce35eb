#pragma once

// Maps a path in Windows form onto the host file system: drive letters, "\" and "/" as separators,
// "." and "..", and names matched without regard to letter case.

#include <sys/stat.h>

#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::posix {

// The current drive and each drive's current folder, as names below the drive's root in the
// letter case found on disk.
struct FolderState {
  // Upper-case letter of the current drive; 0 while the current folder is a host folder.
  char drive = 0;
  std::array<std::vector<std::string>, 26> folderOfDrive;
};

// Where a path lies on the host.
struct HostLocation {
  // Upper-case drive letter; 0 for a host path.
  char drive = 0;
  // The host folder of the drive's root ("/" for a host path).
  std::string root;
  // The names below the root, in the letter case found on disk where they exist.
  std::vector<std::string> names;
  // root and names joined: the path to hand to the OS.
  std::string host;
  // Whether the path exists, and then its stat(), taken while locating it.
  bool exists = false;
  struct stat status {};
};

enum class Lookup {
  // Every name must exist.
  kExisting,
  // Every name but the last must exist; the last is a case variant found on disk, or else as given.
  kForCreate,
  // Names that exist are matched; from the first missing one on, the names stay as given.
  kAsFarAsItExists,
};

// Resolves `path` against `state`: "x:\rest" from drive x's root, "x:rest" from drive x's current
// folder, "\rest" from the current drive's root, "/rest" from the host's root, anything else from
// the current folder (the host's working folder while no drive is current). A name with a
// character Windows forbids gives EINVAL, a drive that is not mapped ENODEV, a missing name ENOENT.
[[nodiscard]] Error Locate(const FolderState& state, const std::string& path, Lookup lookup,
                           HostLocation& location);

// The host path of `names` below `root`.
std::string JoinHost(const std::string& root, const std::vector<std::string>& names);

}  // namespace platform::posix
