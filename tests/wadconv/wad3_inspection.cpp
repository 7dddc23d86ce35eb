#include "tests/wadconv/wad3_inspection.h"

#include <stdexcept>

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  if (at + 4 > bytes.size()) {
    throw std::runtime_error("read past the end at " + std::to_string(at));
  }
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void Expect(bool holds, const std::string& what) {
  if (!holds) {
    throw std::runtime_error(what);
  }
}

// A stored name: 16 bytes, the text up to the first NUL and nothing but NULs after it.
std::string Name(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::string name;
  std::size_t k = 0;
  for (; k < 16 && bytes.at(at + k) != 0; ++k) {
    name.push_back(static_cast<char>(bytes[at + k]));
  }
  for (; k < 16; ++k) {
    Expect(bytes.at(at + k) == 0, "name \"" + name + "\" is not NUL-padded");
  }
  return name;
}

Wad3Texture ReadLump(const std::vector<std::uint8_t>& file, std::size_t start, std::size_t size) {
  Expect(start + size <= file.size(), "lump outside the file");
  const std::vector<std::uint8_t> lump(file.begin() + start, file.begin() + start + size);
  Wad3Texture texture;
  texture.headerName = Name(lump, 0);
  texture.width = U32(lump, 16);
  texture.height = U32(lump, 20);
  std::size_t expectedOffset = 40;
  for (std::size_t level = 0; level < 4; ++level) {
    const std::size_t mipBytes =
        std::size_t{texture.width >> level} * std::size_t{texture.height >> level};
    Expect(U32(lump, 24 + 4 * level) == expectedOffset, "mips do not follow one another");
    Expect(expectedOffset + mipBytes <= lump.size(), "mip outside the lump");
    texture.mips[level].assign(lump.begin() + expectedOffset,
                               lump.begin() + expectedOffset + mipBytes);
    expectedOffset += mipBytes;
  }
  Expect(lump.size() == expectedOffset + 2 + 768 + 2, "lump size is not mips + palette");
  Expect(lump[expectedOffset] == 0 && lump[expectedOffset + 1] == 1, "palette count is not 256");
  texture.palette.assign(lump.begin() + expectedOffset + 2, lump.begin() + expectedOffset + 770);
  Expect(lump[expectedOffset + 770] == 0 && lump[expectedOffset + 771] == 0, "padding not zero");
  return texture;
}

}  // namespace

std::vector<Wad3Texture> ReadWad3(const std::vector<std::uint8_t>& file) {
  Expect(file.size() >= 12 && std::string(file.begin(), file.begin() + 4) == "WAD3",
         "no WAD3 header");
  const std::uint32_t count = U32(file, 4);
  const std::uint32_t directory = U32(file, 8);
  Expect(std::uint64_t{directory} + 32ull * count == file.size(), "directory does not end file");
  std::vector<Wad3Texture> textures;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t entry = directory + 32 * k;
    Expect(U32(file, entry + 4) == U32(file, entry + 8), "size differs from size on disk");
    Expect(file[entry + 12] == 0x43, "lump type is not 0x43");
    Expect(file[entry + 13] == 0 && file[entry + 14] == 0 && file[entry + 15] == 0,
           "compression or padding not zero");
    Wad3Texture texture = ReadLump(file, U32(file, entry), U32(file, entry + 4));
    texture.name = Name(file, entry + 16);
    textures.push_back(texture);
  }
  return textures;
}
