#pragma once

// A Quake miptex lump: a 40-byte header, then four mip levels of (width >> k) x (height >> k)
// one-byte palette indices, k = 0 to 3, each found through its offset in the header.

#include <array>
#include <cstdint>

#include "wadconv/byte_io.h"
#include "wadconv/byte_source.h"
#include "wadconv/fault.h"
#include "wadconv/wad_layout.h"

namespace wadconv {

struct Miptex {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::array<ByteRange, kMipLevels> mips;  // where each level lies in the file
};

// Pixel count of mip level `level` of a width x height texture. Sizes come from the shifts alone,
// so a texture whose sides are not multiples of 8 has mips of the rounded-down sides.
std::uint64_t MipBytes(std::uint32_t width, std::uint32_t height, std::size_t level);

// Reads the miptex of the lump at `lump`, whose first bytes, up to a header's worth, are `header`.
// Fails when the header does not fit, a side is 0, the pixels cannot fit in the lump, or a mip
// level does not lie inside the lump after the header.
Fault ReadMiptex(ByteRange lump, Bytes header, Miptex& texture);

}  // namespace wadconv
