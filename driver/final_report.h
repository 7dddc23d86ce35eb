#pragma once

#include <cstdint>
#include <string>

#include "window/progress_window.h"

namespace driver {

// Closes the run log with its summary and saves it as "error.log" or "successful.log". After
// failures it shows the error banner and the Done button and waits for Done, for the window to
// be closed or for a stop request, unless nobody can see the window; then it unloads the window.
// Returns the log box's last text.
std::string FinishRun(window::ProgressWindow& window, std::int32_t failureCount);

}  // namespace driver
