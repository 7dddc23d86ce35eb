#include "platform/posix/run_program.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace platform::posix {

namespace {

// The file actions of one start: standard output to `output` when that is open.
class OutputActions {
 public:
  OutputActions() { error_ = posix_spawn_file_actions_init(&actions_); }
  ~OutputActions() {
    if (error_ == 0) {
      posix_spawn_file_actions_destroy(&actions_);
    }
  }
  OutputActions(const OutputActions&) = delete;
  OutputActions& operator=(const OutputActions&) = delete;

  Error SendOutputTo(File output) {
    if (error_ != 0 || output.handle == -1) {
      return error_;
    }
    if (output.handle < 0 || output.handle > INT_MAX) {
      return EBADF;
    }
    return posix_spawn_file_actions_adddup2(&actions_, static_cast<int>(output.handle),
                                            STDOUT_FILENO);
  }

  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
  Error error_ = 0;
};

void WaitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) == -1 && errno == EINTR) {
  }
}

}  // namespace

Error RunProgramAndWait(const std::string& program, const std::vector<std::string>& arguments,
                        File output) {
  OutputActions actions;
  if (const Error error = actions.SendOutputTo(output); error != 0) {
    return error;
  }
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);
  pid_t child = 0;
  if (const int error =
          posix_spawn(&child, program.c_str(), actions.get(), nullptr, argv.data(), environ);
      error != 0) {
    return error;
  }
  WaitFor(child);
  return 0;
}

std::string RunningProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

std::vector<std::string> PathFolders() {
  std::vector<std::string> folders;
  const char* path = std::getenv("PATH");
  std::string rest = path == nullptr ? "" : path;
  std::size_t start = 0;
  while (start <= rest.size()) {
    const std::size_t end = std::min(rest.find(':', start), rest.size());
    if (end > start) {
      folders.push_back(rest.substr(start, end - start));
    }
    start = end + 1;
  }
  return folders;
}

}  // namespace platform::posix
