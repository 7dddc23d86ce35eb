#include "platform/posix/child_start.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <climits>

extern char** environ;

namespace platform::posix {

namespace {

// Runs in the child between fork and exec, so only async-signal-safe calls: it returns the error
// that kept the program from starting, or does not return at all.
int BecomeProgram(const char* program, char* const* argv, const ChildStart& how, pid_t parent) {
  if (how.newSession && setsid() < 0) {
    return errno;
  }
#if defined(__linux__)
  // A parent that died before the signal was set would never send it: the child goes instead.
  if (how.deathSignal != 0 &&
      (prctl(PR_SET_PDEATHSIG, how.deathSignal) != 0 || getppid() != parent)) {
    return ECHILD;
  }
#endif
  if (how.quiet) {
    const int null = open("/dev/null", O_RDWR);
    if (null < 0 || dup2(null, STDIN_FILENO) < 0 || dup2(null, STDOUT_FILENO) < 0 ||
        dup2(null, STDERR_FILENO) < 0) {
      return errno;
    }
    if (null > STDERR_FILENO) {
      close(null);
    }
  } else if (how.output.handle >= 0 &&
             dup2(static_cast<int>(how.output.handle), STDOUT_FILENO) < 0) {
    return errno;
  }
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  for (int signal = 1; signal < NSIG; ++signal) {
    sigaction(signal, &defaults, nullptr);
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  execve(program, argv, environ);
  return errno;
}

}  // namespace

Error StartChild(const std::string& program, const std::vector<std::string>& argv,
                 const ChildStart& how, pid_t& id) {
  if (how.output.handle > INT_MAX) {
    return EBADF;
  }
  std::vector<char*> words;
  for (const std::string& word : argv) {
    words.push_back(const_cast<char*>(word.c_str()));
  }
  words.push_back(nullptr);
  // The child reports a failed start through this pipe; a successful exec closes it unwritten.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    return errno;
  }
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) {
    const Error error = errno;
    close(report[0]);
    close(report[1]);
    return error;
  }
  if (child == 0) {
    close(report[0]);
    const int error = BecomeProgram(program.c_str(), words.data(), how, parent);
    while (write(report[1], &error, sizeof error) < 0 && errno == EINTR) {
    }
    _exit(127);
  }
  close(report[1]);
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  if (got == static_cast<ssize_t>(sizeof error)) {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return error == 0 ? ECHILD : error;
  }
  id = child;
  return 0;
}

}  // namespace platform::posix
