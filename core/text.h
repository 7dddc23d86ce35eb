#pragma once

// Text slicing and name-part routines. Positions count from 1. The three name-part routines
// lower-case their result; the other four keep the letter case of their text.

#include <cstdint>
#include <optional>
#include <string>

namespace core {

// The lower-cased text after the last "\", or the whole lower-cased name.
// Throws std::overflow_error for a "\" at position 32767 or beyond.
std::string NameWithoutPath(std::string name);
// The lower-cased text up to and including the last "\", or the whole lower-cased name.
// Throws std::overflow_error for a "\" beyond position 32767.
std::string PathWithoutName(std::string name);
// The lower-cased text from the last "." (wherever it stands) to the end, or the empty text.
// Throws std::overflow_error for a "." beyond position 32767.
std::string ExtensionOfName(std::string name);
// Characters `first` to `last`, both included; empty when first > last. Throws
// std::invalid_argument for first < 1 (and last >= first).
std::string TextBetweenPositions(const std::string& text, std::int32_t first, std::int32_t last);
bool StartsWithIgnoringCase(std::string text, std::string prefix);
bool EndsWithIgnoringCase(std::string text, std::string suffix);
// The text without one leading `opening` and one trailing `closing` (default: `opening`), each
// found without regard to letter case and removed on its own.
std::string TextWithoutEnclosingDelimiters(const std::string& text, const std::string& opening,
                                           const std::optional<std::string>& closing = {});

}  // namespace core
