#pragma once

// The process's current drive and folder, and path resolution against them.

#include <string>

#include "platform/platform.h"
#include "platform/posix/host_location.h"

namespace platform::posix {

// Resolves `path` against the process's current drive and folder (see Locate).
[[nodiscard]] Error LocateFromCurrent(const std::string& path, Lookup lookup,
                                      HostLocation& location);

}  // namespace platform::posix
