#pragma once

#include <cstdint>

namespace core {

// -1 while the process with this id is running, 0 once it has ended or cannot be queried.
[[nodiscard]] std::int16_t IsProcessRunning(std::int32_t processId);

}  // namespace core
