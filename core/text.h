#pragma once

// Name-part and text-trimming routines. ExtensionOfName lower-cases its result; the others keep
// the letter case of their text.

#include <optional>
#include <string>

namespace core {

// The lower-cased text from the last "." (wherever it stands) to the end, or the empty text.
// Throws std::overflow_error for a "." beyond position 32767.
std::string ExtensionOfName(std::string name);
bool StartsWithIgnoringCase(std::string text, std::string prefix);
bool EndsWithIgnoringCase(std::string text, std::string suffix);
// The text without one leading `opening` and one trailing `closing` (default: `opening`), each
// found without regard to letter case and removed on its own.
std::string TextWithoutEnclosingDelimiters(const std::string& text, const std::string& opening,
                                           const std::optional<std::string>& closing = {});

}  // namespace core
