#include "tests/support/process_wait.h"

#include <thread>

#include "platform/platform.h"

namespace test_support {

bool EndsWithin(std::int32_t processId, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (platform::ProcessIsRunning(processId)) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace test_support
