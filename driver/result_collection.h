#pragma once

#include <cstdint>

#include "driver/run_state.h"
#include "window/progress_window.h"

namespace driver {

// Judges every WAD of `state` from its HL WAD and its converter log: a success gets its stamp and
// loses its log, a failure is reported with its cause and the log and loses its HL WAD. A WAD that
// failed before the batch is reported with its cause and keeps its files. After a stopped batch
// a failure the converter did not report says that the run was stopped. Returns the number of
// failed WADs.
std::int32_t CollectResults(window::ProgressWindow& window, RunState& state);

}  // namespace driver
