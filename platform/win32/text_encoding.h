#pragma once

// The programs' texts, names included, are UTF-8 on Windows; the Win32 calls take UTF-16. Every
// name Windows can hold therefore has a form in the programs' text, except a name with a lone
// surrogate, which is not text in any encoding.

#include <string>

namespace platform::win32 {

// `text` decoded from UTF-8; a byte that is no part of valid UTF-8 becomes U+FFFD.
std::wstring Wide(const std::string& text);
// `text` encoded in UTF-8; a lone surrogate becomes U+FFFD.
std::string Narrow(const std::wstring& text);
// As Narrow, but false when `text` holds a lone surrogate, so that the UTF-8 form would not lead
// back to the same file.
bool NarrowExactly(const std::wstring& text, std::string& narrow);

}  // namespace platform::win32
