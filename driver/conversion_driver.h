#pragma once

// One examination-and-conversion run of Korvane, from start to end: set-up, examination of the
// Quake WADs, the converter batch, the judgement of each WAD and the final report. When it returns
// the window has been unloaded.

#include "driver/converter_run.h"
#include "platform/platform.h"
#include "window/progress_window.h"

namespace driver {

// Throws core::SystemFailure when the texture folder cannot be made current; nothing after that
// point ends the run early. `start` starts the batch (tests stand in a start that fails).
void ConversionDriver(window::ProgressWindow& window, StartFunction start = platform::StartProcess);

}  // namespace driver
