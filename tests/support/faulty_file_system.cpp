#include "tests/support/faulty_file_system.h"

namespace test_support {

FaultyFileSystem::~FaultyFileSystem() {
  for (const std::intptr_t handle : open_) {
    platform::File file{handle};
    // Cleanup of files a test left open; the test has judged what it meant to.
    static_cast<void>(inner_.Close(file));
  }
}

bool FaultyFileSystem::Fails(const char* operation) {
  calls_.emplace_back(operation);
  return fails_(static_cast<int>(calls_.size()));
}

platform::Error FaultyFileSystem::Opened(platform::Error error, const platform::File& file) {
  if (error == 0) {
    open_.insert(file.handle);
  }
  return error;
}

platform::Error FaultyFileSystem::Close(platform::File& file) {
  if (Fails("Close")) {
    return kInjectedError;
  }
  const std::intptr_t handle = file.handle;
  const platform::Error error = inner_.Close(file);
  open_.erase(handle);
  return error;
}

}  // namespace test_support
