#include "core/paths.h"

#include <stdexcept>

#include "platform/common/ascii.h"

namespace core {

namespace {

constexpr std::size_t kLargestPosition = 32767;

}  // namespace

void LowerCaseInPlace(std::string& text) {
  text = platform::ascii::Lowered(text);
}

std::string TrimSpaces(const std::string& text) {
  return std::string(platform::ascii::TrimSpaces(text));
}

std::string PathWithTrailingSlash(std::string path) {
  LowerCaseInPlace(path);
  const bool endsInBackslash = !path.empty() && path.back() == '\\';
  std::string result = TrimSpaces(path);
  if (!endsInBackslash) {
    result += '\\';
  }
  return result;
}

std::string PathWithoutTrailingSlash(std::string path) {
  LowerCaseInPlace(path);
  if (!path.empty() && path.back() == '\\') {
    path.pop_back();
  }
  return TrimSpaces(path);
}

std::string NameWithoutExtension(std::string name) {
  LowerCaseInPlace(name);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) {
    return name;
  }
  if (dot + 1 > kLargestPosition) {
    throw std::overflow_error("overflow: the last \".\" of a name lies beyond position 32767");
  }
  return name.substr(0, dot);
}

std::string Quoted(const std::string& text) {
  return '"' + text + '"';
}

}  // namespace core
