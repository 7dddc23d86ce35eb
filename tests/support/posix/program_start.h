#pragma once

// A built program started in the background, as from a shell with "&", for tests that act on it
// while it runs (send it a signal). POSIX only.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/program_run.h"

namespace test_support {

// Starts `program` without waiting (looked up on PATH when its name has no "/"): in `folder`, with
// `arguments` and the extra `environment`, its output going to files in `scratch`.
pid_t StartProgram(const std::filesystem::path& folder, const std::string& program,
                   const std::vector<std::string>& arguments, const std::filesystem::path& scratch,
                   const std::vector<std::pair<std::string, std::string>>& environment = {});

// Waits up to `limit` for a program started by StartProgram to end, then gives its output. The
// exit code is 128 + the signal's number for a program ended by a signal (as shells give it), and
// -1 for one still running at `limit`, which is then killed.
ProgramRun FinishProgram(pid_t id, const std::filesystem::path& scratch,
                         std::chrono::milliseconds limit);

}  // namespace test_support
