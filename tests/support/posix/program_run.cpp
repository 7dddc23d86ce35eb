#include "tests/support/program_run.h"

#include <chrono>

#include "tests/support/posix/program_start.h"

namespace test_support {

std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (const char c : text) {
    word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return word + "'";
}

// A program that hangs is killed after ten minutes rather than holding up the whole suite.
ProgramRun RunProgram(const std::filesystem::path& folder, const std::string& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& scratch,
                      const std::vector<std::pair<std::string, std::string>>& environment) {
  return FinishProgram(StartProgram(folder, program, arguments, scratch, environment), scratch,
                       std::chrono::minutes(10));
}

}  // namespace test_support
