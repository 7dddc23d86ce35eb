#pragma once

// What korvane-cmd needs from POSIX beyond platform.h: running one program to its end with its
// standard output sent to a file, and the places it looks for programs.

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::posix {

// Holds SIGINT, SIGTERM and SIGHUP back from the program, for RunProgramAndWait to take as
// requests to stop. Called first thing, before any program is run.
void HoldStopSignals();

// Runs the program at the host path `program` with `arguments` (argv[0] is the program's path) and
// waits until it has ended. Its standard output goes to `output` when that is open; standard input
// and standard error are the caller's. Fails only when the program cannot be started; its exit
// status is not reported. The program gets SIGKILL should this one die. A stop request held back
// (see HoldStopSignals) before or during the run ends the program and all it started, and then
// this program with the status 128 + the signal's number.
[[nodiscard]] Error RunProgramAndWait(const std::string& program,
                                      const std::vector<std::string>& arguments, File output);

// The host folder that holds the running executable.
std::string RunningProgramFolder();

// The folders of the PATH variable, in order, without empty entries.
std::vector<std::string> PathFolders();

}  // namespace platform::posix
