#pragma once

// Where the interpreter looks for the program of a line, and whether a found file is a Windows
// program.

#include <string>
#include <vector>

#include "platform/platform.h"

namespace shell {

struct SearchPlaces {
  std::string ownFolder;                 // the interpreter's own folder (a host path)
  std::vector<std::string> pathFolders;  // the folders of PATH, in order (host paths)
};

// The paths to try for `name`, in order: the current folder, then the interpreter's own folder,
// then each PATH folder; in each, the name as written first, then without a final ".exe". A name
// with a folder or drive in it is tried only where it points.
std::vector<std::string> ProgramCandidates(const std::string& name, const SearchPlaces& places);

// The first candidate that is an existing regular file, or empty.
std::string FindProgram(platform::FileSystem& fs, const std::string& name,
                        const SearchPlaces& places);
// The first PATH folder that holds a regular file `name`, with the name joined to it; or empty.
std::string FindOnPath(platform::FileSystem& fs, const std::string& name,
                       const std::vector<std::string>& pathFolders);

// Whether the file starts with "MZ", the mark of a Windows program.
bool IsWindowsProgram(platform::FileSystem& fs, const std::string& path);

}  // namespace shell
