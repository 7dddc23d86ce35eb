#include "wadconv/wad3_writer.h"

#include <algorithm>

namespace wadconv {

namespace {

void PutName(std::uint8_t* out, const std::string& name) {
  std::fill_n(out, kNameBytes, std::uint8_t{0});
  std::copy_n(name.begin(), std::min(name.size(), kNameBytes), out);
}

}  // namespace

std::uint64_t Wad3MiptexBytes(std::uint32_t width, std::uint32_t height) {
  std::uint64_t bytes =
      kMiptexHeaderBytes + kPaletteCountBytes + kPaletteBytes + kPalettePaddingBytes;
  for (std::size_t level = 0; level < kMipLevels; ++level) {
    bytes += MipBytes(width, height, level);
  }
  return bytes;
}

void PutWad3Header(ByteSink& sink, std::uint32_t lumpCount, std::uint32_t directoryOffset) {
  std::array<std::uint8_t, kHeaderBytes> header{};
  std::copy_n(kWad3Magic, kMagicBytes, header.begin() + kHeaderMagic);
  PutU32(header.data() + kHeaderLumpCount, lumpCount);
  PutU32(header.data() + kHeaderDirectoryOffset, directoryOffset);
  sink.Put(header);
}

void PutWad3Miptex(ByteSink& sink, const std::string& name, const Miptex& texture,
                   Palette palette) {
  std::array<std::uint8_t, kMiptexHeaderBytes> header{};
  PutName(header.data() + kMiptexName, name);
  PutU32(header.data() + kMiptexWidth, texture.width);
  PutU32(header.data() + kMiptexHeight, texture.height);
  std::uint64_t offset = kMiptexHeaderBytes;
  for (std::size_t level = 0; level < kMipLevels; ++level) {
    PutU32(header.data() + kMiptexMipOffsets + 4 * level, static_cast<std::uint32_t>(offset));
    offset += texture.mips[level].size();
  }
  sink.Put(header);
  for (const Bytes& mip : texture.mips) {
    sink.Put(mip);
  }
  std::array<std::uint8_t, kPaletteCountBytes> count{};
  PutU16(count.data(), kPaletteColours);
  sink.Put(count);
  sink.Put(palette);
  const std::array<std::uint8_t, kPalettePaddingBytes> padding{};
  sink.Put(padding);
}

void PutWad3Directory(ByteSink& sink, const std::vector<Wad3Entry>& entries) {
  for (const Wad3Entry& entry : entries) {
    std::array<std::uint8_t, kEntryBytes> bytes{};
    PutU32(bytes.data() + kEntryFilePosition, entry.filePosition);
    PutU32(bytes.data() + kEntryDiskSize, entry.size);
    PutU32(bytes.data() + kEntrySize, entry.size);
    bytes[kEntryType] = kTypeWad3Miptex;
    PutName(bytes.data() + kEntryName, entry.name);
    sink.Put(bytes);
  }
}

}  // namespace wadconv
