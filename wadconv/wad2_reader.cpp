#include "wadconv/wad2_reader.h"

#include <cstdio>

#include "wadconv/wad_layout.h"

namespace wadconv {

namespace {

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

std::string FileMagic(Bytes file) {
  if (file.size() < kMagicBytes) {
    return {};
  }
  return std::string(file.begin(), file.begin() + kMagicBytes);
}

Fault ReadWad2Directory(Bytes file, std::vector<Wad2Lump>& lumps) {
  if (file.size() < kHeaderBytes) {
    return "the file is " + std::to_string(file.size()) + " bytes, too small for a WAD header of " +
           std::to_string(kHeaderBytes) + " bytes";
  }
  std::uint32_t count = 0;
  std::uint32_t directoryOffset = 0;
  ReadU32(file, kHeaderLumpCount, count);
  ReadU32(file, kHeaderDirectoryOffset, directoryOffset);
  const std::uint64_t directoryBytes = std::uint64_t{count} * kEntryBytes;
  if (!RangeFits(directoryOffset, directoryBytes, file.size())) {
    return "the directory at offset " + std::to_string(directoryOffset) + " with " +
           std::to_string(count) + " entries lies outside the file of " +
           std::to_string(file.size()) + " bytes";
  }
  lumps.clear();
  lumps.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    lumps.push_back(
        ParseEntry(file.subspan(directoryOffset + k * kEntryBytes, kEntryBytes), k + 1));
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

Bytes LumpData(Bytes file, const Wad2Lump& lump) {
  return file.subspan(lump.filePosition, lump.diskSize);
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
