#pragma once

// A batch file whose text goes beyond ASCII, made readable to any cmd.exe. cmd.exe decodes each
// batch line in a console code page (Windows in the console's current one, Wine 8 always in the
// OEM one), which cannot hold every name, while it expands environment variables in UTF-16. So
// each run of bytes beyond ASCII leaves the text for a variable that holds it.

#include <string>
#include <string_view>
#include <vector>

namespace platform::common {

// The prefix of the variables; the first run goes in KORVANE_TEXT_1.
inline constexpr char kBatchTextVariable[] = "KORVANE_TEXT_";

// `text` with each maximal run of bytes from 0x80 up replaced by "%KORVANE_TEXT_<n>%", n counting
// from 1; `runs` gets the runs in order. Text of plain ASCII comes back unchanged, with no runs.
std::string AsciiBatchText(std::string_view text, std::vector<std::string>& runs);

}  // namespace platform::common
