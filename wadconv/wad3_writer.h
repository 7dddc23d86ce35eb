#pragma once

// Writing a WAD3 file front to back: header, miptex lumps, directory. Every size is known before
// the first byte is written, so the output can stream to a file that cannot seek.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "wadconv/byte_io.h"
#include "wadconv/miptex.h"
#include "wadconv/wad_layout.h"

namespace wadconv {

// Where written bytes go: a file, a buffer in memory, a counter.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Put(Bytes bytes) = 0;
};

struct Wad3Entry {
  std::string name;  // at most 16 bytes; written NUL-padded
  std::uint32_t filePosition = 0;
  std::uint32_t size = 0;
};

using Palette = std::span<const std::uint8_t, kPaletteBytes>;

// Bytes of the WAD3 miptex lump for a texture: header, four mips, palette count, palette, padding.
std::uint64_t Wad3MiptexBytes(std::uint32_t width, std::uint32_t height);

void PutWad3Header(ByteSink& sink, std::uint32_t lumpCount, std::uint32_t directoryOffset);
// The texture under `name` (its directory name), mip offsets rewritten for the new lump.
void PutWad3Miptex(ByteSink& sink, const std::string& name, const Miptex& texture, Palette palette);
void PutWad3Directory(ByteSink& sink, const std::vector<Wad3Entry>& entries);

}  // namespace wadconv
