#pragma once

#include <algorithm>
#include <cstddef>

#include "tests/support/memory_file_system.h"

namespace fuzz {

// The in-memory file system handing out at most `chunk` bytes per read, so that readers meet
// every split of their input across reads.
class ChunkedFileSystem : public test_support::MemoryFileSystem {
 public:
  explicit ChunkedFileSystem(std::size_t chunk) : chunk_(chunk) {}

  platform::Error Read(platform::File file, char* buffer, std::size_t size,
                       std::size_t& got) override {
    return test_support::MemoryFileSystem::Read(file, buffer, std::min(size, chunk_), got);
  }

  platform::Error ReadAt(platform::File file, std::int64_t offset, char* buffer, std::size_t size,
                         std::size_t& got) override {
    return test_support::MemoryFileSystem::ReadAt(file, offset, buffer, std::min(size, chunk_),
                                                  got);
  }

 private:
  std::size_t chunk_;
};

}  // namespace fuzz
