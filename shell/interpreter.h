#pragma once

// The batch interpreter: runs the lines of a batch file one after the other with the meaning
// cmd.exe gives them, over the platform's drives, folders and files.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/program_lookup.h"

namespace shell {

// Runs the program at a host path with its arguments and waits until it has ended; its standard
// output goes to the open file given, or to the interpreter's own when that file is not open. The
// program's exit status is not reported: a batch carries on whatever it is.
using RunAndWait = std::function<platform::Error(
    const std::string& program, const std::vector<std::string>& arguments, platform::File output)>;

struct Interpreter {
  platform::FileSystem& fs;
  RunAndWait run;
  SearchPlaces places;
  std::ostream& out;  // the interpreter's own standard output
};

// Reads the whole batch file.
[[nodiscard]] platform::Error ReadBatchFile(platform::FileSystem& fs, const std::string& path,
                                            std::string& text);

// Runs the lines in order until "exit" or the last line. A line that cannot be run writes one line
// of explanation to its standard output and the run goes on with the next line.
void RunBatch(const std::vector<std::string>& lines, Interpreter& interpreter);

}  // namespace shell
