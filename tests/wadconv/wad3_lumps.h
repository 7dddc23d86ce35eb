#pragma once

// The lumps of a WAD3 output found through its directory, its structure checked on the way.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct Wad3Lump {
  std::string name;  // all 16 bytes of the directory's name
  std::vector<std::uint8_t> bytes;
};

inline std::uint32_t LittleU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
         static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

inline std::vector<Wad3Lump> Wad3Lumps(const std::vector<std::uint8_t>& file) {
  std::vector<Wad3Lump> lumps;
  if (file.size() < 12 || std::string(file.begin(), file.begin() + 4) != "WAD3") {
    ADD_FAILURE() << "no WAD3 header";
    return lumps;
  }
  const std::uint32_t directory = LittleU32(file, 8);
  EXPECT_EQ(directory + 32ull * LittleU32(file, 4), file.size()) << "the directory ends the file";
  for (std::size_t entry = directory; entry + 32 <= file.size(); entry += 32) {
    const std::uint32_t position = LittleU32(file, entry);
    const std::uint32_t size = LittleU32(file, entry + 4);
    EXPECT_EQ(LittleU32(file, entry + 8), size) << "size on disk";
    EXPECT_EQ(LittleU32(file, entry + 12), 0x43u) << "type 0x43, no compression, zero padding";
    if (position < 12 || std::uint64_t{position} + size > directory) {
      ADD_FAILURE() << "lump at " << position << " outside the lumps";
      break;
    }
    lumps.push_back({std::string(file.begin() + entry + 16, file.begin() + entry + 32),
                     {file.begin() + position, file.begin() + position + size}});
  }
  return lumps;
}
