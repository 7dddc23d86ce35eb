#pragma once

// Pellisk's one job: rewrite a map file without its "mapversion" lines.

#include <stdexcept>
#include <string>

#include "platform/platform.h"

namespace stripper {

// A run that was refused, or that failed and could not put every file back as it was. what() is
// the line for the user.
class StripFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Rewrites the map file named by `argumentText` without the lines that hold "mapversion".
// Before it changes anything it refuses, with a StripFailure that says why and what to do: a name
// that differs from other files' names in the folder only in letter case, anything but a regular,
// writable file, a backup or temporary file that exists already (never deleted: it may be a map's
// only copy), a file holding NUL bytes. The kept lines go to a new temporary file beside the map,
// given the map's owner, group and permissions (or attributes), which is flushed to disk before
// the map is set aside under its backup name and the temporary file takes the map's name exactly
// as it is on disk; then the backup is deleted. At every moment the map's complete content exists
// under the map's name or the backup name. A failed step puts the files back as they were and
// throws StripFailure, which says whether the map is unchanged or how to finish by hand. Returns
// a warning line for the user, empty when there is none.
std::string MapVersionStripper(const std::string& argumentText, platform::FileSystem& fs);
}  // namespace stripper
