#include "stripper/line_filter.h"

#include <array>
#include <cstdint>

namespace stripper {

namespace {

constexpr std::string_view kKey = "mapversion";

// Every character of the key is a letter a to z, so setting bit 0x20 folds exactly the
// characters that match it without regard to case and no others.
constexpr char Folded(char c) {
  return static_cast<char>(c | 0x20);
}

// Horspool's skip table: how far the key may move on when the text byte under its last
// character is `c`. Map lines consist mostly of digits, spaces and brackets, which let it move
// its whole length at once.
constexpr std::array<std::uint8_t, 256> MakeShifts() {
  std::array<std::uint8_t, 256> shifts{};
  shifts.fill(static_cast<std::uint8_t>(kKey.size()));
  for (std::size_t i = 0; i + 1 < kKey.size(); ++i) {
    const auto shift = static_cast<std::uint8_t>(kKey.size() - 1 - i);
    shifts[static_cast<unsigned char>(kKey[i])] = shift;
    shifts[static_cast<unsigned char>(kKey[i] - 'a' + 'A')] = shift;
  }
  return shifts;
}

constexpr std::array<std::uint8_t, 256> kShifts = MakeShifts();

bool KeyAt(const char* text) {
  for (std::size_t i = 0; i < kKey.size(); ++i) {
    if (Folded(text[i]) != kKey[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool HoldsMapVersion(std::string_view line) {
  const std::size_t last = kKey.size() - 1;
  for (std::size_t start = 0; start + last < line.size();) {
    const char c = line[start + last];
    if (Folded(c) == kKey[last] && KeyAt(line.data() + start)) {
      return true;
    }
    start += kShifts[static_cast<unsigned char>(c)];
  }
  return false;
}

}  // namespace stripper
