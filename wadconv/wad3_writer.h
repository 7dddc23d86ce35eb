#pragma once

// Writing a WAD3 file front to back: header, miptex lumps, directory. Every size is known before
// the first byte is written, so the output can stream to a file that cannot seek.

#include <array>
#include <cstdint>
#include <string>

#include "wadconv/byte_io.h"
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
// A WAD3 miptex lump is its header, the four mips right after it, then the trailer. The header
// carries `name` (the texture's directory name) and the mip offsets of the new lump.
void PutWad3MiptexHeader(ByteSink& sink, const std::string& name, std::uint32_t width,
                         std::uint32_t height);
void PutWad3MiptexTrailer(ByteSink& sink, Palette palette);
// One entry of the directory, which holds one per texture in the order of the lumps.
void PutWad3DirectoryEntry(ByteSink& sink, const Wad3Entry& entry);

}  // namespace wadconv
