#pragma once

// How listed names are checked and ordered. The same rules as on every other target: letter case
// is ignored for A to Z, every other byte compares as it is.

#include <string>
#include <string_view>
#include <vector>

namespace platform::win32 {

// Whether `name` matches `pattern`, where "*" stands for any run of characters and "?" for one,
// without regard to letter case. FindFirstFile also matches a file's 8.3 short name, under which
// "x.wadx" is "X~1.WAD" and would pass "*.wad"; each long name is therefore checked again here.
bool MatchesPattern(std::string_view name, std::string_view pattern);
// Puts names in listing order: by name ignoring letter case; names equal but for case in byte
// order.
void SortForListing(std::vector<std::string>& names);

}  // namespace platform::win32
