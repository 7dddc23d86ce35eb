#pragma once

// Starting a program as a child process with what posix_spawn cannot give it: a signal that ends
// it when this program dies, so that nothing started outlives its starter.

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::posix {

struct ChildStart {
  // A session of its own: no terminal, and a process group of its own that can be stopped whole.
  bool newSession = false;
  // Standard input, output and error on /dev/null rather than this program's.
  bool quiet = false;
  // Where standard output goes when not quiet and this is open; otherwise this program's.
  File output;
  // The signal the child gets when this program (the thread that started it) ends; on Linux only.
  int deathSignal = 0;
};

// Starts the program at the host path `program` with the argument vector `argv` (argv[0]
// included), with signal dispositions and mask as a fresh program expects them. Descriptors
// without close-on-exec are inherited. Fails when the program cannot be started.
[[nodiscard]] Error StartChild(const std::string& program, const std::vector<std::string>& argv,
                               const ChildStart& how, pid_t& id);

}  // namespace platform::posix
