#include "wadconv/miptex.h"

#include <string>

namespace wadconv {

std::uint64_t MipBytes(std::uint32_t width, std::uint32_t height, std::size_t level) {
  return std::uint64_t{width >> level} * std::uint64_t{height >> level};
}

Fault ReadMiptex(ByteRange lump, Bytes header, Miptex& texture) {
  const std::string lumpText = " the lump of " + std::to_string(lump.size) + " bytes";
  if (lump.size < kMiptexHeaderBytes || header.size() < kMiptexHeaderBytes) {
    return "it is " + std::to_string(lump.size) + " bytes, too small for a texture header of " +
           std::to_string(kMiptexHeaderBytes) + " bytes";
  }
  ReadU32(header, kMiptexWidth, texture.width);
  ReadU32(header, kMiptexHeight, texture.height);
  const std::string sides = std::to_string(texture.width) + " x " + std::to_string(texture.height);
  if (texture.width == 0 || texture.height == 0) {
    return "its size " + sides + " has no pixels";
  }
  // Checked before any sum of mip sizes: a product of two 32-bit sides fits 64 bits, a sum of
  // four such products need not.
  if (MipBytes(texture.width, texture.height, 0) > lump.size - kMiptexHeaderBytes) {
    return "its size " + sides + " needs more pixels than fit in" + lumpText;
  }
  for (std::size_t level = 0; level < kMipLevels; ++level) {
    std::uint32_t offset = 0;
    ReadU32(header, kMiptexMipOffsets + 4 * level, offset);
    const std::uint64_t size = MipBytes(texture.width, texture.height, level);
    if (offset < kMiptexHeaderBytes || !RangeFits(offset, size, lump.size)) {
      return "mip level " + std::to_string(level) + " of " + std::to_string(size) +
             " bytes at offset " + std::to_string(offset) + " does not lie in" + lumpText +
             " after its header";
    }
    texture.mips[level] = {lump.offset + offset, size};
  }
  return std::nullopt;
}

}  // namespace wadconv
