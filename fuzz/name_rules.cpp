// libFuzzer target: the name rules and the path helpers. The input's lines are a name, a pattern
// and a few more names for a listing. Pattern matching is compared with a plain reference matcher;
// case folding, the forbidden characters, the listing order and the path helpers are checked for
// the properties the rest of the programs rely on.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/paths.h"
#include "fuzz/fuzz_check.h"
#include "platform/common/name_rules.h"

namespace {

using platform::common::FoldCase;

// Dynamic programming over (name prefix, pattern prefix): quadratic, and plainly right.
bool ReferenceMatch(std::string_view name, std::string_view pattern) {
  const std::string n = fuzz::AsciiLower(name);
  const std::string p = fuzz::AsciiLower(pattern);
  // row[j]: whether the name's first i characters match the pattern's first j.
  std::vector<bool> row(p.size() + 1, false);
  row[0] = true;
  for (std::size_t j = 1; j <= p.size(); ++j) {
    row[j] = row[j - 1] && p[j - 1] == '*';
  }
  for (std::size_t i = 1; i <= n.size(); ++i) {
    std::vector<bool> next(p.size() + 1, false);
    for (std::size_t j = 1; j <= p.size(); ++j) {
      if (p[j - 1] == '*') {
        next[j] = next[j - 1] || row[j];
      } else {
        next[j] = row[j - 1] && (p[j - 1] == '?' || p[j - 1] == n[i - 1]);
      }
    }
    row = std::move(next);
  }
  return row[p.size()];
}

constexpr std::size_t kLongestName = 256;
constexpr std::size_t kLongestPattern = 64;
constexpr std::size_t kListedNames = 16;

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (lines.size() < kListedNames) {
    const std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) {
      break;
    }
    text.remove_prefix(end + 1);
  }
  return lines;
}

void CheckForbiddenCharacters() {
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool forbidden = byte < 32 || std::string_view("<>\"|?*:").find(c) != std::string::npos;
    fuzz::Require(platform::common::IsForbiddenInName(c) == forbidden,
                  "forbidden: control characters and < > \" | ? * :");
  }
}

void CheckFolding(const std::string& name) {
  const std::string folded = FoldCase(name);
  fuzz::Require(folded == fuzz::AsciiLower(name), "folding lower-cases A to Z and nothing else");
  fuzz::Require(FoldCase(folded) == folded, "folding is idempotent");
  std::string lowered = name;
  core::LowerCaseInPlace(lowered);
  fuzz::Require(lowered == folded, "the path helpers lower-case as the name rules fold");
}

void CheckMatching(const std::string& name, const std::string& pattern) {
  fuzz::Require(platform::common::MatchesPattern(name, pattern) == ReferenceMatch(name, pattern),
                "pattern matching agrees with the reference matcher");
  fuzz::Require(platform::common::MatchesPattern(name, "*"), "\"*\" matches every name");
  fuzz::Require(platform::common::MatchesPattern(name, name), "a name matches itself");
  fuzz::Require(platform::common::MatchesPattern(FoldCase(name), name) &&
                    platform::common::MatchesPattern(name, FoldCase(name)),
                "matching ignores letter case");
}

void CheckListingOrder(std::vector<std::string> names) {
  std::vector<std::string> sorted = names;
  platform::common::SortForListing(sorted);
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    const std::string a = FoldCase(sorted[i - 1]);
    const std::string b = FoldCase(sorted[i]);
    fuzz::Require(a < b || (a == b && sorted[i - 1] <= sorted[i]),
                  "listing order: by folded name, ties in byte order");
  }
  std::sort(names.begin(), names.end());
  std::sort(sorted.begin(), sorted.end());
  fuzz::Require(sorted == names, "sorting for a listing keeps every name once");
}

bool HasUpperCase(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

void CheckPaths(const std::string& path) {
  const std::string folded = FoldCase(path);
  const std::string trimmed = core::TrimSpaces(path);
  fuzz::Require(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '),
                "trimming leaves no space at either end");
  fuzz::Require(path.find(trimmed) != std::string::npos &&
                    trimmed.empty() == (path.find_first_not_of(' ') == std::string::npos),
                "trimming removes spaces only");

  const std::string with = core::PathWithTrailingSlash(path);
  fuzz::Require(!with.empty() && with.back() == '\\' && !HasUpperCase(with),
                "a folder path with its separator ends in \"\\\" and is lower-case");
  fuzz::Require(with.starts_with(core::TrimSpaces(folded)),
                "a folder path with its separator starts with the trimmed path");

  const std::string without = core::PathWithoutTrailingSlash(path);
  fuzz::Require(!HasUpperCase(without) && folded.find(without) != std::string::npos,
                "a folder path without its separator is a lower-case part of the path");

  try {
    const std::string stem = core::NameWithoutExtension(path);
    const std::size_t dot = path.rfind('.');
    fuzz::Require(folded.starts_with(stem), "a name without extension is a prefix of the name");
    fuzz::Require(dot == std::string::npos ? stem == folded : stem.size() == dot,
                  "a name loses its extension from the last \".\" on");
  } catch (const std::overflow_error&) {
    fuzz::Require(path.rfind('.') >= 32767, "only a \".\" beyond position 32767 overflows");
  }
}

}  // namespace

// The forbidden characters do not depend on the input: all 256 are checked once.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CheckForbiddenCharacters();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines =
      Lines(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string name = lines[0].substr(0, kLongestName);
  const std::string pattern = lines.size() > 1 ? lines[1].substr(0, kLongestPattern) : "";
  CheckFolding(name);
  CheckMatching(name, pattern);
  CheckListingOrder(lines);
  CheckPaths(name);
  return 0;
}
