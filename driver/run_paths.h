#pragma once

// The folders and files of a conversion run. The texture folder and the two run logs are fixed;
// every other path is built from the current folder, read afresh each time, and lower-cased by the
// path helpers except the WAD's own name.

#include <string>

namespace driver {

inline constexpr char kTextureFolder[] = "c:\\program files\\worldcraft\\textures";
inline constexpr char kErrorRunLog[] = "c:\\program files\\worldcraft\\textures\\error.log";
inline constexpr char kSuccessRunLog[] = "c:\\program files\\worldcraft\\textures\\successful.log";
inline constexpr char kRuleLine[] = "=================================================";
inline constexpr char kNothingToConvert[] = "No WADs require conversion.  Everything up to date!";

// The files that belong to one listed WAD.
struct WadPaths {
  std::string wadFile;
  std::string hlwadFile;
  std::string stampFile;
  // The converter's log as the driver reads it back.
  std::string conversionLog;
  // The converter's log as the batch names it, relative to the texture folder.
  std::string batchLogName;
};

// "logs" in the current folder, without a trailing backslash.
std::string LogsFolder();
// "2hlwad.bat" in the current folder.
std::string ConversionBatch();
// The paths of the WAD listed as `listedName` (a bare file name in its letter case on disk).
WadPaths PathsOfWad(const std::string& listedName);

}  // namespace driver
