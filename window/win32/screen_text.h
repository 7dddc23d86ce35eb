#pragma once

// How the log box's bytes are handed to an edit control, which breaks lines only at CR LF and ends
// its text at a NUL byte, and how the programs' UTF-8 texts become the controls' UTF-16.

#include <string>
#include <string_view>

namespace window {

// `bytes` with each lone CR and each lone LF turned into CR LF and each NUL into a space. With
// `afterCr`, the bytes continue a text whose last byte was a CR that is already shown as a break,
// so an LF at their start completes that break and is left out.
std::string ScreenText(std::string_view bytes, bool afterCr = false);

// `text` as the controls show it: each valid UTF-8 sequence as the character it encodes (names are
// UTF-8), every other byte as its Windows-1252 character (a converter may print such bytes). The
// first bytes of a character that a decision line cut before its ": " are left out.
std::wstring ScreenWide(std::string_view text);

}  // namespace window
