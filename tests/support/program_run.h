#pragma once

// Runs a built program the way a user would from the system's command line, and captures what it
// wrote.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs `program` in `folder` with `arguments`, each passed as one word of the command line (on
// Windows the words joined with single spaces are the raw command line, as typed), and with the
// extra environment variables `environment`. The output goes through files in `scratch`.
ProgramRun RunProgram(const std::filesystem::path& folder, const std::string& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& scratch,
                      const std::vector<std::pair<std::string, std::string>>& environment = {});

// A word for the POSIX shell that stands for exactly `text`.
std::string ShellWord(const std::string& text);

}  // namespace test_support
