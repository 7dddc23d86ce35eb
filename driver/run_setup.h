#pragma once

#include "window/progress_window.h"

namespace driver {

// Removes the previous run's logs, makes the texture folder current, loads the window hidden,
// makes sure the logs folder exists and opens the run log. Throws core::SystemFailure when the
// texture folder cannot be made current; every later step that fails is skipped.
void SetUpRun(window::ProgressWindow& window);

}  // namespace driver
