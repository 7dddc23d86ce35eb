#pragma once

#include <cstdint>

#include "window/progress_window.h"

namespace driver {

// Closes the run log with its summary and saves it as "error.log" or "successful.log". After
// failures it shows the error banner and the Done button and waits for Done or for the window to
// be closed; then it unloads the window.
void FinishRun(window::ProgressWindow& window, std::int32_t failureCount);

}  // namespace driver
