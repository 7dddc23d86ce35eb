#include "wadconv/wad3_writer.h"

#include <algorithm>

#include "wadconv/miptex.h"

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

void PutWad3MiptexHeader(ByteSink& sink, const std::string& name, std::uint32_t width,
                         std::uint32_t height) {
  std::array<std::uint8_t, kMiptexHeaderBytes> header{};
  PutName(header.data() + kMiptexName, name);
  PutU32(header.data() + kMiptexWidth, width);
  PutU32(header.data() + kMiptexHeight, height);
  std::uint64_t offset = kMiptexHeaderBytes;
  for (std::size_t level = 0; level < kMipLevels; ++level) {
    PutU32(header.data() + kMiptexMipOffsets + 4 * level, static_cast<std::uint32_t>(offset));
    offset += MipBytes(width, height, level);
  }
  sink.Put(header);
}

void PutWad3MiptexTrailer(ByteSink& sink, Palette palette) {
  std::array<std::uint8_t, kPaletteCountBytes> count{};
  PutU16(count.data(), kPaletteColours);
  sink.Put(count);
  sink.Put(palette);
  const std::array<std::uint8_t, kPalettePaddingBytes> padding{};
  sink.Put(padding);
}

void PutWad3DirectoryEntry(ByteSink& sink, const Wad3Entry& entry) {
  std::array<std::uint8_t, kEntryBytes> bytes{};
  PutU32(bytes.data() + kEntryFilePosition, entry.filePosition);
  PutU32(bytes.data() + kEntryDiskSize, entry.size);
  PutU32(bytes.data() + kEntrySize, entry.size);
  bytes[kEntryType] = kTypeWad3Miptex;
  PutName(bytes.data() + kEntryName, entry.name);
  sink.Put(bytes);
}

}  // namespace wadconv
