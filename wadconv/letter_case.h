#pragma once

#include <algorithm>
#include <string_view>

namespace wadconv {

// Equal when the texts differ at most in the letter case of A to Z, as names in WADs and on the
// command line are compared.
inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&lower](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace wadconv
