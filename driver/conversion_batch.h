#pragma once

// The batch that runs the converter once per WAD on the conversion list, each converter's output
// sent to the WAD's log in the logs folder.

#include <string>

#include "driver/run_state.h"
#include "window/progress_window.h"

namespace driver {

// `word` as the batch must write it: a word that holds a blank or a character with a meaning to
// the command interpreter goes in double quotes with every "%" doubled; any other word stays as it
// is.
std::string BatchWord(const std::string& word);
// The batch line that converts the WAD listed as `listedName`.
std::string ConverterLine(const std::string& listedName);

// False for a line that holds a control character: the command interpreter would read it as
// several lines.
bool IsSafeBatchLine(const std::string& line);

// Writes the batch for every WAD of `state` that may convert and opens the converter-run line of
// the run log. Those WADs' old logs and old HL WADs are deleted first, so that whatever stands
// under their names after the batch was written by this run's converter; a WAD whose old files
// stay, or whose line would be unsafe, fails at once and gets no line. Returns false when no WAD
// is left to convert (no batch is written then) or the batch cannot be written whole: that fails
// the run and every WAD still to convert, and no batch is left.
bool WriteConversionBatch(window::ProgressWindow& window, RunState& state);

}  // namespace driver
