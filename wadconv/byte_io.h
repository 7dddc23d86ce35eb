#pragma once

// Little-endian numbers in byte buffers. Reads check the range first and report whether it lay
// inside the buffer; they never touch a byte outside it.

#include <cstddef>
#include <cstdint>
#include <span>

namespace wadconv {

using Bytes = std::span<const std::uint8_t>;

// True when `size` bytes from `offset` lie inside a buffer of `length` bytes, without overflow.
inline bool RangeFits(std::uint64_t offset, std::uint64_t size, std::uint64_t length) {
  return offset <= length && size <= length - offset;
}

inline bool ReadU32(Bytes bytes, std::size_t offset, std::uint32_t& value) {
  if (!RangeFits(offset, 4, bytes.size())) {
    return false;
  }
  value = static_cast<std::uint32_t>(bytes[offset]) |
          static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
          static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
          static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
  return true;
}

inline bool ReadU8(Bytes bytes, std::size_t offset, std::uint8_t& value) {
  if (!RangeFits(offset, 1, bytes.size())) {
    return false;
  }
  value = bytes[offset];
  return true;
}

inline void PutU16(std::uint8_t* out, std::uint16_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU32(std::uint8_t* out, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) {
    out[k] = static_cast<std::uint8_t>(value >> (8 * k));
  }
}

}  // namespace wadconv
