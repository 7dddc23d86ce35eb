#pragma once

// The names one run works with, derived from the argument text the way the user expects of a
// Windows command line: one file name, perhaps quoted, ".map" when it has no extension.

#include <string>

namespace stripper {

struct MapNames {
  // The map file as the user wrote it; the rewritten map gets exactly this name.
  std::string map;
  // In the map file's own folder (the folder part as written, so that it resolves to the same
  // folder as the map): the file name without its extension, lower-cased, plus ".bkr".
  std::string backup;
  // Where the kept lines are written before they take the map's place; same folder.
  std::string temporary;
};

// The argument text without leading and trailing spaces and without one quote at each end.
std::string UnquotedArgument(const std::string& argumentText);
// The unquoted argument, with ".map" appended when it holds no "." at all (folders included).
std::string MapFileName(const std::string& argumentText);
// Backup and temporary names beside `mapFileName`. "\" and "/" both end a folder part; a name
// without one lies in the current folder.
MapNames NamesOfMap(const std::string& mapFileName);
// True when the backup name denotes the map file itself (a map named "*.bkr" in any case), so
// that setting the map aside would destroy it.
bool BackupIsMapItself(const MapNames& names);
// `path` with its last name replaced by `name`: the folder part (or drive, as in "c:level1.map")
// stays as written.
std::string WithFileName(const std::string& path, const std::string& name);

}  // namespace stripper
