#include "tests/support/program_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace test_support {

namespace {

std::string ReadCaptured(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (const char c : text) {
    word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return word + "'";
}

ProgramRun RunProgram(const std::filesystem::path& folder, const std::string& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& scratch,
                      const std::vector<std::pair<std::string, std::string>>& environment) {
  std::string command = "cd " + ShellWord(folder.string()) + " &&";
  for (const auto& [name, value] : environment) {
    command += " " + name + "=" + ShellWord(value);
  }
  command += " " + ShellWord(program);
  for (const std::string& argument : arguments) {
    command += " " + ShellWord(argument);
  }
  command +=
      " >" + ShellWord((scratch / "out").string()) + " 2>" + ShellWord((scratch / "err").string());
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadCaptured(scratch / "out");
  run.err = ReadCaptured(scratch / "err");
  return run;
}

}  // namespace test_support
