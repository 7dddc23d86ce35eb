#include "wadconv/wad2_reader.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "wadconv/wad_layout.h"

namespace wadconv {

namespace {

// The directory is read this many entries at a time.
constexpr std::size_t kEntriesPerRead = 4096;

std::string NameAt(Bytes entry) {
  std::string name;
  for (std::size_t k = 0; k < kNameBytes && entry[kEntryName + k] != 0; ++k) {
    name.push_back(static_cast<char>(entry[kEntryName + k]));
  }
  return name;
}

Wad2Lump ParseEntry(Bytes entry, std::size_t number) {
  Wad2Lump lump;
  lump.number = number;
  lump.name = NameAt(entry);
  ReadU32(entry, kEntryFilePosition, lump.filePosition);
  ReadU32(entry, kEntryDiskSize, lump.diskSize);
  ReadU32(entry, kEntrySize, lump.size);
  ReadU8(entry, kEntryType, lump.type);
  ReadU8(entry, kEntryCompression, lump.compression);
  return lump;
}

}  // namespace

std::string FileMagic(Bytes header) {
  if (header.size() < kMagicBytes) {
    return {};
  }
  return std::string(header.begin(), header.begin() + kMagicBytes);
}

Fault ReadWad2Directory(ByteSource& file, std::vector<Wad2Lump>& lumps) {
  const std::uint64_t fileSize = file.Size();
  if (fileSize < kHeaderBytes) {
    return "the file is " + std::to_string(fileSize) + " bytes, too small for a WAD header of " +
           std::to_string(kHeaderBytes) + " bytes";
  }
  std::array<std::uint8_t, kHeaderBytes> header{};
  if (Fault fault = file.ReadAt(0, header)) {
    return fault;
  }
  std::uint32_t count = 0;
  std::uint32_t directoryOffset = 0;
  ReadU32(header, kHeaderLumpCount, count);
  ReadU32(header, kHeaderDirectoryOffset, directoryOffset);
  const std::uint64_t directoryBytes = std::uint64_t{count} * kEntryBytes;
  if (!RangeFits(directoryOffset, directoryBytes, fileSize)) {
    return "the directory at offset " + std::to_string(directoryOffset) + " with " +
           std::to_string(count) + " entries lies outside the file of " + std::to_string(fileSize) +
           " bytes";
  }
  lumps.clear();
  lumps.reserve(count);
  std::vector<std::uint8_t> entries(std::min<std::size_t>(count, kEntriesPerRead) * kEntryBytes);
  for (std::size_t first = 0; first < count; first += kEntriesPerRead) {
    const std::size_t number = std::min<std::size_t>(count - first, kEntriesPerRead);
    const std::span<std::uint8_t> piece(entries.data(), number * kEntryBytes);
    if (Fault fault = file.ReadAt(directoryOffset + first * kEntryBytes, piece)) {
      return fault;
    }
    for (std::size_t k = 0; k < number; ++k) {
      lumps.push_back(
          ParseEntry(Bytes(piece).subspan(k * kEntryBytes, kEntryBytes), first + k + 1));
    }
  }
  return std::nullopt;
}

Fault CheckLumpPlacement(const Wad2Lump& lump, std::uint64_t fileSize) {
  if (lump.compression != 0) {
    return DescribeLump(lump) + " is compressed (compression " + std::to_string(lump.compression) +
           "), which no WAD in use has and wadconv does not read";
  }
  if (!RangeFits(lump.filePosition, lump.diskSize, fileSize)) {
    return DescribeLump(lump) + ": its " + std::to_string(lump.diskSize) + " bytes at offset " +
           std::to_string(lump.filePosition) + " lie outside the file of " +
           std::to_string(fileSize) + " bytes";
  }
  if (lump.size != lump.diskSize) {
    return DescribeLump(lump) + ": its size " + std::to_string(lump.size) +
           " differs from its size on disk " + std::to_string(lump.diskSize) +
           " although it is not compressed";
  }
  return std::nullopt;
}

ByteRange LumpRange(const Wad2Lump& lump) {
  return {lump.filePosition, lump.diskSize};
}

std::string DescribeLump(const Wad2Lump& lump) {
  return "lump " + std::to_string(lump.number) + " \"" + PrintableName(lump.name) + "\"";
}

std::string PrintableName(const std::string& name) {
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f || c == '"' || c == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      text += escaped;
    } else {
      text.push_back(c);
    }
  }
  return text;
}

}  // namespace wadconv
