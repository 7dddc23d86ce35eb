#pragma once

// How names compare on a file system with Windows semantics, the same on every target: letter case
// is ignored for A to Z only, every other byte compares as it is.

#include <string>
#include <string_view>
#include <vector>

namespace platform::common {

// The name with A to Z lower-cased.
std::string FoldCase(std::string_view name);
// True for the characters Windows refuses in a file or folder name: < > " | ? * : and control
// characters. (A drive's ":" is not part of a name.)
bool IsForbiddenInName(char c);
// Whether Windows can hold a file of this name: no forbidden character, and no trailing space or
// dot (which Windows would drop, so the name would lead to another file).
bool WindowsCanHold(std::string_view name);
// The name as Windows takes it: trailing spaces and dots dropped ("a.txt. " is "a.txt"). A name
// made of nothing else (such as "." or "..") stays as it is.
std::string_view WithoutTrailingDotsAndSpaces(std::string_view name);
// Whether `name` matches `pattern`, where "*" stands for any run of characters and "?" for one,
// without regard to letter case.
bool MatchesPattern(std::string_view name, std::string_view pattern);
// Puts names in listing order: by name ignoring letter case; names equal but for case in byte
// order.
void SortForListing(std::vector<std::string>& names);

}  // namespace platform::common
