#pragma once

// The test that decides which lines of a map file are dropped.

#include <string_view>

namespace stripper {

// True when "mapversion" occurs anywhere in the line, in any letter case: as a key, inside a
// value or name, or as part of a longer word.
bool HoldsMapVersion(std::string_view line);

}  // namespace stripper
