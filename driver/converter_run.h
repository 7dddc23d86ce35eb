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
// The end of the converter-run line of a stopped run: "... STOPPED after ", the minutes and
// seconds, ": " and why.
std::string StoppedText(double startTime, double now, const std::string& reason);

// Why the run must stop: the window was closed through its frame, or the system asked Korvane to
// end (platform::CaughtStopRequest). Empty while nothing asks.
std::string StopReason(const window::ProgressWindow& window);

// Starts the batch with `start` and waits until it has ended, giving the window its events on
// every pass. A stop (see StopReason) ends the batch and all it started, or keeps it from
// starting. Ends by deleting the batch and what the converter left half-written, and closing the
// line of the run log with the time elapsed since `startTime`. True when the run was stopped.
bool RunConverter(window::ProgressWindow& window, double startTime, StartFunction start);

}  // namespace driver
