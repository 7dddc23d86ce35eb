#pragma once

// Where the bytes of the WAD being converted come from: read a piece at a time at given positions,
// so that no more of a file than the piece at hand is in memory, whatever the file's size.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "wadconv/byte_io.h"
#include "wadconv/fault.h"

namespace wadconv {

// `size` bytes of the input from byte `offset`.
struct ByteRange {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills all of `out` with the bytes from `offset`, or says why it cannot.
  virtual Fault ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

// An input held in a buffer.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(Bytes bytes) : bytes_(bytes) {}

  std::uint64_t Size() const override { return bytes_.size(); }

  Fault ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (!RangeFits(offset, out.size(), bytes_.size())) {
      return "the input ends before byte " + std::to_string(offset + out.size());
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return std::nullopt;
  }

 private:
  Bytes bytes_;
};

}  // namespace wadconv
