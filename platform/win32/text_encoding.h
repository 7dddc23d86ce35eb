#pragma once

// The programs' texts are 8-bit, in the system's ANSI code page; the Win32 calls take UTF-16.

#include <string>

namespace platform::win32 {

// `text` decoded from the ANSI code page.
std::wstring Wide(const std::string& text);
// `text` encoded in the ANSI code page; characters that the code page cannot hold become "?".
std::string Narrow(const std::wstring& text);
// As Narrow, but false when some character has no form in the code page, so that the 8-bit name
// would not lead back to the same file.
bool NarrowExactly(const std::wstring& text, std::string& narrow);

}  // namespace platform::win32
