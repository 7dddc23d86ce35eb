#include "platform/common/batch_text.h"

namespace platform::common {

namespace {

bool IsAscii(char c) {
  return static_cast<unsigned char>(c) < 0x80;
}

}  // namespace

std::string AsciiBatchText(std::string_view text, std::vector<std::string>& runs) {
  runs.clear();
  std::string ascii;
  ascii.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsAscii(text[i])) {
      ascii += text[i++];
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && !IsAscii(text[i])) {
      ++i;
    }
    runs.emplace_back(text.substr(start, i - start));
    ascii += '%' + std::string(kBatchTextVariable) + std::to_string(runs.size()) + '%';
  }
  return ascii;
}

}  // namespace platform::common
