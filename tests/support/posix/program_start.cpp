#include "tests/support/posix/program_start.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "tests/support/host_files.h"

namespace test_support {

pid_t StartProgram(const std::filesystem::path& folder, const std::string& program,
                   const std::vector<std::string>& arguments, const std::filesystem::path& scratch,
                   const std::vector<std::pair<std::string, std::string>>& environment) {
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);
  const std::string out = (scratch / "out").string();
  const std::string err = (scratch / "err").string();
  const pid_t id = fork();
  if (id == 0) {
    for (const auto& [name, value] : environment) {
      setenv(name.c_str(), value.c_str(), 1);
    }
    const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (chdir(folder.c_str()) == 0 && outFile >= 0 && errFile >= 0 &&
        dup2(outFile, STDOUT_FILENO) >= 0 && dup2(errFile, STDERR_FILENO) >= 0) {
      execvp(program.c_str(), argv.data());
    }
    _exit(127);
  }
  return id;
}

ProgramRun FinishProgram(pid_t id, const std::filesystem::path& scratch,
                         std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  ProgramRun run;
  while (waitpid(id, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(id, SIGKILL);
      waitpid(id, &status, 0);
      status = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  run.exitCode = status == -1        ? -1
                 : WIFEXITED(status) ? WEXITSTATUS(status)
                                     : 128 + WTERMSIG(status);
  run.out = ReadHostFile(scratch / "out");
  run.err = ReadHostFile(scratch / "err");
  return run;
}

}  // namespace test_support
