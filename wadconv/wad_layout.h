#pragma once

// Byte layout of Quake WAD2 and Half-Life WAD3 files. All numbers are little-endian; offsets are
// counted from the start of the record they belong to.

#include <cstddef>
#include <cstdint>

namespace wadconv {

// File header: magic, lump count, directory position.
inline constexpr std::size_t kHeaderBytes = 12;
inline constexpr std::size_t kHeaderMagic = 0;
inline constexpr std::size_t kHeaderLumpCount = 4;
inline constexpr std::size_t kHeaderDirectoryOffset = 8;
inline constexpr std::size_t kMagicBytes = 4;
inline constexpr char kWad2Magic[] = "WAD2";
inline constexpr char kWad3Magic[] = "WAD3";

// Directory entry, one per lump.
inline constexpr std::size_t kEntryBytes = 32;
inline constexpr std::size_t kEntryFilePosition = 0;
inline constexpr std::size_t kEntryDiskSize = 4;
inline constexpr std::size_t kEntrySize = 8;
inline constexpr std::size_t kEntryType = 12;
inline constexpr std::size_t kEntryCompression = 13;
inline constexpr std::size_t kEntryPad = 14;
inline constexpr std::size_t kEntryName = 16;
inline constexpr std::size_t kNameBytes = 16;

// Lump types.
inline constexpr std::uint8_t kTypePalette = 0x40;
inline constexpr std::uint8_t kTypeWad3Miptex = 0x43;
inline constexpr std::uint8_t kTypeWad2Miptex = 0x44;

// Miptex lump: name, width, height, then the offset of each mip level from the lump's start.
inline constexpr std::size_t kMiptexHeaderBytes = 40;
inline constexpr std::size_t kMiptexName = 0;
inline constexpr std::size_t kMiptexWidth = 16;
inline constexpr std::size_t kMiptexHeight = 20;
inline constexpr std::size_t kMiptexMipOffsets = 24;
inline constexpr std::size_t kMipLevels = 4;

// A WAD3 miptex carries its palette after the last mip: a 16-bit colour count, the colours as
// red, green, blue bytes, then two bytes of padding.
inline constexpr std::uint16_t kPaletteColours = 256;
inline constexpr std::size_t kPaletteBytes = 3 * kPaletteColours;
inline constexpr std::size_t kPaletteCountBytes = 2;
inline constexpr std::size_t kPalettePaddingBytes = 2;

// Quake's console font: typed as a miptex but 128 x 128 raw pixels without a miptex header.
inline constexpr char kConsoleFontName[] = "CONCHARS";

}  // namespace wadconv
