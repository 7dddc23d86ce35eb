#pragma once

#include <string>
#include <vector>

namespace platform::common {

// Splits a Windows-style command line into its words: spaces and tabs separate them, double quotes
// group (so a quoted word may hold spaces or be empty) and are removed. A backslash is an ordinary
// character, as it is in the paths these command lines carry.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace platform::common
