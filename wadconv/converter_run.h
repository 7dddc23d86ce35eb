#pragma once

// One run of the converter program: "-wad2hl NAME" converts the WAD NAME into "<stem>.hlwad" in
// the current folder, where stem is NAME's file name up to its last ".". The output is written
// under a temporary name and renamed into place only when complete, so a failed run leaves no
// output and an older output is replaced only by a whole new one.

#include <string>
#include <vector>

#include "platform/platform.h"

namespace wadconv {

inline constexpr int kExitConverted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct RunOutcome {
  std::vector<std::string> lines;  // what the program prints, without line ends
  int exitCode = kExitFailed;
};

// The name given after "-wad2hl", or empty when the argument text is not of that form. One pair
// of double quotes around the name is removed; spaces inside it stay.
std::string NameFromArguments(const std::string& argumentText);

// "<stem>.hlwad" for the WAD `name`, which may carry a folder.
std::string OutputName(const std::string& name);

RunOutcome RunWadconv(platform::FileSystem& fileSystem, const std::string& argumentText);

}  // namespace wadconv
