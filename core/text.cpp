#include "core/text.h"

#include <cstdint>
#include <stdexcept>

#include "core/paths.h"
#include "platform/common/ascii.h"

namespace core {

namespace {

constexpr std::size_t kLargestPosition = 32767;

// 1-based position of the last `separator`, or 0; positions that do not fit 16 bits overflow.
std::size_t LastPosition(const std::string& text, char separator) {
  const auto index = text.rfind(separator);
  if (index == std::string::npos) {
    return 0;
  }
  if (index + 1 > kLargestPosition) {
    throw std::overflow_error("overflow: a separator lies beyond position 32767");
  }
  return index + 1;
}

}  // namespace

std::string ExtensionOfName(std::string name) {
  LowerCaseInPlace(name);
  const std::size_t p = LastPosition(name, '.');
  return p == 0 ? std::string() : name.substr(p - 1);
}

bool StartsWithIgnoringCase(std::string text, std::string prefix) {
  return text.size() >= prefix.size() &&
         platform::ascii::SameIgnoringCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoringCase(std::string text, std::string suffix) {
  return text.size() >= suffix.size() &&
         platform::ascii::SameIgnoringCase(
             std::string_view(text).substr(text.size() - suffix.size()), suffix);
}

std::string TextWithoutEnclosingDelimiters(const std::string& text, const std::string& opening,
                                           const std::optional<std::string>& closing) {
  const std::string& close = closing ? *closing : opening;
  const auto length = static_cast<std::int64_t>(text.size());
  const std::int64_t first =
      1 + (StartsWithIgnoringCase(text, opening) ? static_cast<std::int64_t>(opening.size()) : 0);
  const std::int64_t last =
      length - (EndsWithIgnoringCase(text, close) ? static_cast<std::int64_t>(close.size()) : 0);
  if (first > last) {
    return {};
  }
  return text.substr(static_cast<std::size_t>(first - 1),
                     static_cast<std::size_t>(last - first + 1));
}

}  // namespace core
