#include "stripper/line_filter.h"

namespace stripper {

namespace {

constexpr std::string_view kKey = "mapversion";

// Every character of the key is a letter a to z, so setting bit 0x20 folds exactly the
// characters that match it without regard to case and no others.
constexpr char Folded(char c) {
  return static_cast<char>(c | 0x20);
}

bool KeyAt(const char* text) {
  for (std::size_t i = 1; i < kKey.size(); ++i) {
    if (Folded(text[i]) != kKey[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool HoldsMapVersion(std::string_view line) {
  if (line.size() < kKey.size()) {
    return false;
  }
  const char* last = line.data() + (line.size() - kKey.size());
  for (const char* p = line.data(); p <= last; ++p) {
    if (Folded(*p) == kKey[0] && KeyAt(p)) {
      return true;
    }
  }
  return false;
}

}  // namespace stripper
