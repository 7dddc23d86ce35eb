#pragma once

// Reading the header and directory of a WAD2 file. Every position and size is checked against the
// file's length before it is used.

#include <cstdint>
#include <string>
#include <vector>

#include "wadconv/byte_io.h"
#include "wadconv/byte_source.h"
#include "wadconv/fault.h"

namespace wadconv {

struct Wad2Lump {
  std::size_t number = 0;  // 1-based position in the directory, for messages
  std::string name;        // the 16 name bytes cut at the first NUL, letter case kept
  std::uint32_t filePosition = 0;
  std::uint32_t diskSize = 0;
  std::uint32_t size = 0;
  std::uint8_t type = 0;
  std::uint8_t compression = 0;
};

// The first four bytes of `header`, the start of a file, when it has that many.
std::string FileMagic(Bytes header);

// The directory of a WAD2 file, or why it cannot be read. Entries are returned as stored; whether
// each lump's data lies inside the file is CheckLumpPlacement's job.
Fault ReadWad2Directory(ByteSource& file, std::vector<Wad2Lump>& lumps);

// Whether the lump's data can be taken from the file as it stands: inside the file, not
// compressed, and its size the same as its size on disk.
Fault CheckLumpPlacement(const Wad2Lump& lump, std::uint64_t fileSize);

// Where the lump's bytes lie; only for a lump that passed CheckLumpPlacement.
ByteRange LumpRange(const Wad2Lump& lump);

// "lump 3 \"brick1\"" with the name's control bytes written as \xNN, the start of every message
// about one lump.
std::string DescribeLump(const Wad2Lump& lump);

// The name as printable text: control bytes and DEL as \xNN, every other byte as it is.
std::string PrintableName(const std::string& name);

}  // namespace wadconv
