#include "platform/common/name_rules.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/common/ascii.h"

namespace platform::common {

std::string FoldCase(std::string_view name) {
  return ascii::Lowered(name);
}

bool IsForbiddenInName(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 32 || std::string_view("<>\"|?*:").find(c) != std::string_view::npos;
}

bool WindowsCanHold(std::string_view name) {
  if (name.empty() || name.back() == ' ' || name.back() == '.') {
    return false;
  }
  return std::none_of(name.begin(), name.end(), IsForbiddenInName);
}

std::string_view WithoutTrailingDotsAndSpaces(std::string_view name) {
  const std::size_t end = name.find_last_not_of(". ");
  return end == std::string_view::npos ? name : name.substr(0, end + 1);
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // Greedy match that returns to the last "*" on a mismatch: linear in practice, never exponential.
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t starPattern = std::string_view::npos;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || ascii::Lower(pattern[p]) == ascii::Lower(name[n]))) {
      ++p;
      ++n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

void SortForListing(std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(names.size());
  for (std::string& name : names) {
    keyed.emplace_back(FoldCase(name), std::move(name));
  }
  std::sort(keyed.begin(), keyed.end());
  for (std::size_t i = 0; i < keyed.size(); ++i) {
    names[i] = std::move(keyed[i].second);
  }
}

}  // namespace platform::common
