#include "platform/posix/run_program.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/posix/child_start.h"

namespace platform::posix {

namespace {

// How long the processes of a stopped run may take to end on SIGTERM before they are killed;
// shorter than the grace Korvane gives this program.
constexpr long kStopGraceNanoseconds = 300'000'000;

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  return signals;
}

// Waits up to `timeout` (null: for ever) for one of `signals` and takes it; 0 when none came.
int TakeSignal(const sigset_t& signals, const timespec* timeout) {
  int taken = -1;
  do {
    taken = timeout == nullptr ? sigwaitinfo(&signals, nullptr)
                               : sigtimedwait(&signals, nullptr, timeout);
  } while (taken < 0 && errno == EINTR);
  return taken < 0 ? 0 : taken;
}

bool Reaped(pid_t child) {
  return waitpid(child, nullptr, WNOHANG) != 0;
}

// Ends the child and what it started, then this program. Started by Korvane, this program leads a
// process group of its own that holds them all: the group ends as one, this program with it.
[[noreturn]] void StopAndExit(pid_t child, int signal) {
  const bool leader = getpgrp() == getpid();
  if (leader || child > 0) {
    const pid_t target = leader ? 0 : child;
    kill(target, SIGTERM);
    sigset_t childEnded;
    sigemptyset(&childEnded);
    sigaddset(&childEnded, SIGCHLD);
    const timespec grace{0, kStopGraceNanoseconds};
    if (child > 0 && !Reaped(child)) {
      TakeSignal(childEnded, &grace);
    }
    kill(target, SIGKILL);
  }
  std::_Exit(128 + signal);
}

// Waits until the child has ended or a stop request comes, whichever is first.
void WaitFor(pid_t child) {
  sigset_t awaited = StopSignals();
  sigaddset(&awaited, SIGCHLD);
  while (!Reaped(child)) {
    const int signal = TakeSignal(awaited, nullptr);
    if (signal != SIGCHLD && signal != 0) {
      StopAndExit(child, signal);
    }
  }
}

}  // namespace

void HoldStopSignals() {
  sigset_t held = StopSignals();
  // A child's end is taken by the wait as well.
  sigaddset(&held, SIGCHLD);
  sigprocmask(SIG_BLOCK, &held, nullptr);
}

Error RunProgramAndWait(const std::string& program, const std::vector<std::string>& arguments,
                        File output) {
  const timespec now{0, 0};
  if (const int signal = TakeSignal(StopSignals(), &now); signal != 0) {
    StopAndExit(0, signal);
  }
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  ChildStart how;
  how.output = output;
  how.deathSignal = SIGKILL;
  pid_t child = 0;
  if (const Error error = StartChild(program, words, how, child); error != 0) {
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
