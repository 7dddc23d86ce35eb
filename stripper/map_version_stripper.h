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
// The kept lines go to a temporary file beside the map, which is flushed to disk before the map
// is set aside under its backup name and the temporary file takes the map's name; then the backup
// is deleted. At every moment the map's complete content exists under the map's name or the
// backup name. A failed step puts the files back as they were and throws core::SystemFailure
// (or StripFailure when putting back failed too, or when the name is refused).
void MapVersionStripper(const std::string& argumentText, platform::FileSystem& fs);

}  // namespace stripper
