#pragma once

// How the 8-bit text of the controls appears on screen.

#include <QString>
#include <string_view>

namespace window {

// `bytes` decoded as Windows-1252, with each line break (CR LF, a lone CR or a lone LF) turned
// into one "\n".
QString ScreenText(std::string_view bytes);

}  // namespace window
