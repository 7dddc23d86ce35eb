#pragma once

// Waiting for a started process in tests, without hanging the suite when it never ends.

#include <chrono>
#include <cstdint>

namespace test_support {

// Polls until the process has ended; false if it is still running after `limit`.
bool EndsWithin(std::int32_t processId, std::chrono::milliseconds limit);

}  // namespace test_support
