#pragma once

#include <string>

#include "window/progress_window.h"

namespace driver {

struct Examination {
  // Clock reading before the listing: the origin of the elapsed time of the converter run.
  double startTime = 0;
  // At least one WAD is on the conversion list, and the window is shown.
  bool workToDo = false;
  // Without work: the text of the success run log, which also counts the files left out.
  std::string log;
};

// Lists the Quake WADs of the current folder, decides from each WAD's stamp whether it must be
// converted, puts those on the window's conversion list and logs each decision. With nothing to
// convert it unloads the window (never shown) and writes the success run log; otherwise it shows
// the window with the counts.
Examination ExamineWads(window::ProgressWindow& window);

}  // namespace driver
