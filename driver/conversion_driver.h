#pragma once

// One examination-and-conversion run of Korvane, from start to end: set-up, examination of the
// Quake WADs, the converter batch, the judgement of each WAD and the final report. When it returns
// the window has been unloaded.

#include <cstdint>
#include <string>

#include "driver/converter_run.h"
#include "platform/platform.h"
#include "window/progress_window.h"

namespace driver {

struct RunResult {
  // WADs whose conversion failed in this run, those left unconverted by a stop among them, and
  // the run's own failures (a folder or file it needs that cannot be listed, made or written).
  std::int32_t failureCount = 0;
  // The batch was stopped (see StopReason) before it had ended by itself.
  bool stopped = false;
  // What the run told the user: the log box's last text (the run log and the line that says where
  // it was saved), or the content of "successful.log" when nothing needed converting.
  std::string log;
  // Why the run log could not be saved, for the user to see elsewhere; empty when it was saved.
  std::string unsavedLog;
};

// Throws core::SystemFailure when the texture folder cannot be made current; nothing after that
// point ends the run early. `start` starts the batch (tests stand in a start that fails); the run's
// own file operations go through `fs` (tests stand in one that fails).
RunResult ConversionDriver(window::ProgressWindow& window,
                           StartFunction start = platform::StartProcess,
                           platform::FileSystem& fs = platform::NativeFileSystem());

}  // namespace driver
