#pragma once

// The copy of a map's kept lines, streamed piece by piece so that memory stays bounded whatever a
// line's length, with what the copy learns of the map on the way.

#include <string>

#include "platform/platform.h"

namespace stripper {

struct CopiedMap {
  // The copy stopped at a NUL byte: the file is no text map, and the copy is incomplete.
  bool holdsNul = false;
  // Some brush face line gives its texture axes in Valve 220 form ("( ... ) TEX [ ... ] [ ... ]").
  bool valveFaces = false;
  // A dropped line was the "mapversion" key itself, which tells compilers the face format.
  bool formatKeyDropped = false;
};

// Copies the lines of the open map `map` to the open, empty file `copy`, each followed by CR LF,
// without the lines that hold "mapversion", and hands every byte to `copy` (not yet flushed to
// disk). A failed read or write throws core::SystemFailure naming `mapName` or `copyName`.
CopiedMap CopyKeptLines(platform::FileSystem& fs, platform::File map, platform::File copy,
                        const std::string& mapName, const std::string& copyName);

}  // namespace stripper
