#pragma once

#include "driver/run_state.h"
#include "window/progress_window.h"

namespace driver {

// Lists the Quake WADs of the current folder, decides from each WAD's stamp whether it must be
// converted, puts those on the window's conversion list and in `state` with their time and length,
// and logs each decision. A WAD that shares its HL WAD name with one listed before it, or whose
// old stamp or own time and length cannot be had, fails here. A folder that cannot be listed halts
// the run. With nothing to convert and nothing failed it unloads the window (never shown);
// otherwise it shows the window with the counts.
void ExamineWads(window::ProgressWindow& window, RunState& state);

}  // namespace driver
