#pragma once

// The run of the conversion batch: started as a process of its own and waited for while the
// window shows, once per clock second, that the run is alive.

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "window/progress_window.h"

namespace driver {

using StartFunction = platform::Error (*)(const std::string& commandLine, std::int32_t& processId);

// The end of the converter-run line: "... COMPLETE: ", the minutes and seconds from `startTime`
// to `now` (hours dropped), " elapsed.".
std::string CompletionText(double startTime, double now);

// Starts the batch with `start` and waits until it has ended, giving the window its events on
// every pass. Closing the window stops the batch. Ends by deleting the batch and closing the line
// of the run log with the time elapsed since `startTime`.
void RunConverter(window::ProgressWindow& window, double startTime, StartFunction start);

}  // namespace driver
