#pragma once

// Finding a name in a folder without regard to letter case. Reading a large folder is slow, so each
// folder's names are kept in memory, indexed by their case-folded form, and read again only when
// the folder has changed since.

#include <sys/stat.h>

#include <string>

namespace platform::posix {

enum class NameMatch {
  // The folder's remembered names are missing or out of date.
  kUnknown,
  kFound,
  kMissing,
};

// What `name` means in the folder whose stat() gave `folderStatus`, answered from the names
// remembered for it without reading it: `onDisk` is set to the name itself when it exists,
// otherwise to the first name in byte order that equals it ignoring letter case.
NameMatch MatchRemembered(const struct stat& folderStatus, const std::string& name,
                          std::string& onDisk);

// Looks for a name in folder `folder` (a host path whose stat() gave `folderStatus`) that equals
// `name` ignoring letter case, reading the folder unless its remembered names are up to date. Sets
// `onDisk` to it and returns true when there is one; with several, the first in byte order.
bool FindCaseVariant(const std::string& folder, const struct stat& folderStatus,
                     const std::string& name, std::string& onDisk);

}  // namespace platform::posix
