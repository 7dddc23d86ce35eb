#pragma once

#include "driver/run_state.h"
#include "window/progress_window.h"

namespace driver {

// Removes the previous run's logs, makes the texture folder current, loads the window hidden,
// makes sure the logs folder exists and can take a file, and opens the run log. Throws
// core::SystemFailure when the texture folder cannot be made current. A previous run log that
// stays, or a logs folder that cannot be made or written, is a failure of the run named in the
// run log; without a logs folder the run halts before converting.
void SetUpRun(window::ProgressWindow& window, RunState& state);

}  // namespace driver
