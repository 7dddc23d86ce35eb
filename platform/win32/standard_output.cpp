// Windows ends lines with CR LF on its consoles as in its files.

#include "platform/platform.h"

namespace platform {

const char* StandardOutputLineEnd() {
  return "\r\n";
}

}  // namespace platform
