#pragma once

#include <cstdint>
#include <string>

#include "driver/run_state.h"
#include "window/progress_window.h"

namespace driver {

// Closes the run log with its summary and saves it as "error.log" or "successful.log". A run with
// failures (`failureCount` WADs, or the run's own) never leaves a "successful.log" standing; a run
// log that cannot be saved whole is a failure of the run, its cause kept in state.unsavedLog.
// After failures it shows the error banner and the Done button and waits for Done, for the window
// to be closed or for a stop request, unless nobody can see the window; then it unloads the
// window. Returns the log box's last text.
std::string FinishRun(window::ProgressWindow& window, RunState& state, std::int32_t failureCount);
// Saves "successful.log" holding only that nothing needed converting; one that cannot be saved is
// a failure of the run, as in FinishRun.
void FinishUpToDate(RunState& state);

}  // namespace driver
