#include "platform/platform.h"

namespace platform {

namespace {

// Large enough that the requests cost nothing beside the copy, small enough that the dirty pages
// of a large file never pile up for the final flush.
constexpr std::int64_t kWriteBackStep = 8 << 20;

}  // namespace

void WriteBackPacer::Wrote(FileSystem& fs, File file, std::size_t count) {
  written_ += static_cast<std::int64_t>(count);
  if (written_ - started_ >= kWriteBackStep) {
    fs.StartWriteBack(file, started_, written_ - started_);
    started_ = written_;
  }
}

}  // namespace platform
