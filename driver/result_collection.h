#pragma once

#include <cstdint>

#include "window/progress_window.h"

namespace driver {

// Judges every WAD on the conversion list from its HL WAD and its converter log: a success gets
// its stamp and loses its log, a failure is reported with the log and loses its HL WAD. Returns the
// number of failures. After a stopped batch (`stopped`) a failure the converter did not report
// says that the run was stopped.
std::int32_t CollectResults(window::ProgressWindow& window, bool stopped);

}  // namespace driver
