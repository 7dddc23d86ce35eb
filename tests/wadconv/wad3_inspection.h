#pragma once

// Reads a converter's WAD3 output back, independently of the converter's own code, and checks its
// structure on the way: throws std::runtime_error at the first thing out of place.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Wad3Texture {
  std::string name;        // directory name, cut at the first NUL
  std::string headerName;  // the miptex header's own name
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::array<std::vector<std::uint8_t>, 4> mips;
  std::vector<std::uint8_t> palette;  // 768 bytes
};

std::vector<Wad3Texture> ReadWad3(const std::vector<std::uint8_t>& file);
