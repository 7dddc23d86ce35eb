#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/command_line.h"
#include "platform/common/name_rules.h"
#include "platform/platform.h"
#include "platform/posix/child_start.h"
#include "platform/posix/current_folder.h"
#include "platform/posix/run_program.h"

namespace platform {

namespace {

using posix::HostLocation;
using posix::Lookup;

// How long a process asked to stop may take before it is killed.
constexpr auto kStopGrace = std::chrono::milliseconds(500);
constexpr auto kStopPoll = std::chrono::milliseconds(10);

bool IsBatchFile(const std::string& program) {
  const std::string folded = common::FoldCase(program);
  return folded.size() >= 4 && folded.compare(folded.size() - 4, 4, ".bat") == 0;
}

bool IsExecutableFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

// A bare program name that is not in the current folder is looked for on PATH, as Windows does.
Error FindOnPath(const std::string& name, std::string& host) {
  for (const std::string& folder : posix::PathFolders()) {
    if (const std::string candidate = folder + "/" + name; IsExecutableFile(candidate)) {
      host = candidate;
      return 0;
    }
  }
  return ENOENT;
}

Error ProgramHostPath(const std::string& program, std::string& host) {
  HostLocation location;
  const Error error = posix::LocateFromCurrent(program, Lookup::kExisting, location);
  if (error == 0) {
    host = location.host;
    return 0;
  }
  const bool bareName = program.find_first_of("\\/:") == std::string::npos;
  return error == ENOENT && bareName ? FindOnPath(program, host) : error;
}

// The program to run and its argument vector for the words of a command line. A batch file runs
// through korvane-cmd, the batch interpreter that ships next to the running program.
Error Invocation(const std::vector<std::string>& words, std::string& program,
                 std::vector<std::string>& arguments) {
  arguments = words;
  if (!IsBatchFile(words.front())) {
    return ProgramHostPath(words.front(), program);
  }
  HostLocation batch;
  if (const Error error = posix::LocateFromCurrent(words.front(), Lookup::kExisting, batch);
      error != 0) {
    return error;
  }
  const std::string folder = posix::RunningProgramFolder();
  if (folder.empty()) {
    return ENOENT;
  }
  program = folder + "/korvane-cmd";
  arguments.insert(arguments.begin(), program);
  return 0;
}

// A new session, so no terminal and a process group of its own that StopProcess ends whole;
// standard streams on /dev/null. SIGTERM reaches it when this program dies, however it dies, and
// korvane-cmd passes it on to everything it started.
Error Spawn(const std::string& program, const std::vector<std::string>& arguments, pid_t& id) {
  posix::ChildStart how;
  how.newSession = true;
  how.quiet = true;
  how.deathSignal = SIGTERM;
  return posix::StartChild(program, arguments, how, id);
}

// A process that has ended but whose parent has not collected it yet still answers kill(); its
// state in /proc says it is a zombie.
bool IsZombie(std::int32_t processId) {
  std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) {
    return false;
  }
  const std::size_t nameEnd = line.rfind(')');
  return nameEnd != std::string::npos && nameEnd + 2 < line.size() && line[nameEnd + 2] == 'Z';
}

}  // namespace

Error StartProcess(const std::string& commandLine, std::int32_t& processId) {
  const std::vector<std::string> words = common::SplitCommandLine(commandLine);
  if (words.empty()) {
    return ENOENT;
  }
  std::string program;
  std::vector<std::string> arguments;
  if (const Error error = Invocation(words, program, arguments); error != 0) {
    return error;
  }
  pid_t id = 0;
  if (const Error error = Spawn(program, arguments, id); error != 0) {
    return error;
  }
  processId = id;
  return 0;
}

bool ProcessIsRunning(std::int32_t processId) {
  if (processId <= 0) {
    return false;
  }
  int status = 0;
  const pid_t reaped = waitpid(processId, &status, WNOHANG);
  if (reaped == processId) {
    return false;
  }
  if (reaped == 0) {
    return true;
  }
  if (kill(processId, 0) != 0 && errno != EPERM) {
    return false;
  }
  return !IsZombie(processId);
}

void StopProcess(std::int32_t processId) {
  if (processId <= 0) {
    return;
  }
  const bool ownGroup = kill(-processId, SIGTERM) == 0;
  if (!ownGroup) {
    kill(processId, SIGTERM);
  }
  for (auto waited = std::chrono::milliseconds(0);
       waited < kStopGrace && ProcessIsRunning(processId); waited += kStopPoll) {
    std::this_thread::sleep_for(kStopPoll);
  }
  // Whatever the group still holds is killed, the leader's own children included.
  if (ownGroup) {
    kill(-processId, SIGKILL);
  } else if (ProcessIsRunning(processId)) {
    kill(processId, SIGKILL);
  }
  waitpid(processId, nullptr, 0);
}

}  // namespace platform
