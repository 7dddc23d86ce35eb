#pragma once

// What the fuzz targets share: a broken property ends the run as a sanitizer finding does, so that
// libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

inline void Require(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "Broken property: %s\n", property);
    std::abort();
  }
}

// A to Z lower-cased and nothing else, written out plainly as the reference the targets compare
// with.
inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c + ('a' - 'A'));
    }
  }
  return lower;
}

}  // namespace fuzz
