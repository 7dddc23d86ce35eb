#pragma once

// How the 8-bit text of the controls appears on screen. Names on Linux are UTF-8, while much of
// what the programs and the converter write is Windows-1252: each line that is valid UTF-8 is
// shown as UTF-8, every other line as Windows-1252. A decision line whose path was cut inside a
// character still shows as UTF-8, without the cut character. The text itself is never changed.

#include <QString>
#include <cstddef>
#include <string_view>

namespace window {

// `bytes` as shown: each line decoded as above, and each line break (CR LF, a lone CR or a lone
// LF) turned into one "\n".
QString ScreenText(std::string_view bytes);

// Where byte `offset` of `bytes` lies in ScreenText(bytes). An offset inside a character or
// between the CR and the LF of a pair stands after it; one beyond the end stands at the end.
int ScreenPosition(std::string_view bytes, std::size_t offset);

}  // namespace window
