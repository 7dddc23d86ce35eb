#include <signal.h>

#include <csignal>
#include <string>

#include "platform/platform.h"

namespace platform {

namespace {

// The first stop signal caught, 0 before any: written only by the handler, which is all a signal
// handler may safely do, and read by the program's own wait loops.
volatile std::sig_atomic_t caughtSignal = 0;

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void KeepStopSignal(int signal) {
  if (caughtSignal == 0) {
    caughtSignal = signal;
  }
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    default:
      return "SIGHUP";
  }
}

}  // namespace

void CatchStopRequests() {
  struct sigaction keep {};
  keep.sa_handler = KeepStopSignal;
  // Restarted, so that no file step of the run fails merely because a signal came.
  keep.sa_flags = SA_RESTART;
  sigemptyset(&keep.sa_mask);
  for (const int signal : kStopSignals) {
    sigaction(signal, &keep, nullptr);
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, nullptr);
}

StopRequest CaughtStopRequest() {
  const int signal = caughtSignal;
  if (signal == 0) {
    return {};
  }
  return {SignalName(signal), 128 + signal};
}

}  // namespace platform
