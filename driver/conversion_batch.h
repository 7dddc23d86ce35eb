#pragma once

// The batch that runs the converter once per WAD on the conversion list, each converter's output
// sent to the WAD's log in the logs folder.

#include <string>

#include "window/progress_window.h"

namespace driver {

// `word` as the batch must write it: a word that holds a blank or a character with a meaning to
// the command interpreter goes in double quotes with every "%" doubled; any other word stays as it
// is.
std::string BatchWord(const std::string& word);
// The batch line that converts the WAD listed as `listedName`.
std::string ConverterLine(const std::string& listedName);

// Writes the batch for every WAD on the window's conversion list, deletes those WADs' old logs and
// opens the converter-run line of the run log. A batch that cannot be written loses its lines.
void WriteConversionBatch(window::ProgressWindow& window);

}  // namespace driver
