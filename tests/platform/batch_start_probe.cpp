// Starts its one argument as a command line through the platform layer, prints the process id it
// got and waits until that process has ended. Built next to a stand-in korvane-cmd, so that a batch
// file started from here runs through that stand-in.

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/platform.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    return 2;
  }
  std::int32_t id = 0;
  if (platform::StartProcess(argv[1], id) != 0) {
    return 1;
  }
  std::printf("%d\n", static_cast<int>(id));
  std::fflush(stdout);
  while (platform::ProcessIsRunning(id)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}
