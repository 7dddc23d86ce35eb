#include "window/progress_window.h"

namespace window {

bool DonePressed = false;

}  // namespace window
