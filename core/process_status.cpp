#include "core/process_status.h"

#include "platform/platform.h"

namespace core {

std::int16_t IsProcessRunning(std::int32_t processId) {
  return platform::ProcessIsRunning(processId) ? -1 : 0;
}

}  // namespace core
