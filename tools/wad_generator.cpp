#include "tools/wad_generator.h"

#include <algorithm>

namespace wadgen {

namespace {

// Palette index ranges of Quake's palette that hold 16 shades of one colour each; the last two
// rows (224 to 255) glow in the game and are left out.
constexpr std::uint8_t kColourRows[] = {0, 16, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192};

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed) {
  std::uint32_t h = a * 0x9e3779b1u ^ (b + 0x7f4a7c15u) * 0x85ebca6bu ^ seed * 0xc2b2ae35u;
  h ^= h >> 15;
  h *= 0x2c1b3c6du;
  h ^= h >> 12;
  return h;
}

std::uint8_t Shade(std::uint8_t row, std::uint32_t level) {
  return static_cast<std::uint8_t>(row + std::min<std::uint32_t>(level, 15));
}

// The colour of texel (x, y) of a full-size texture; mips sample it at every 2^k-th texel.
std::uint8_t PatternPixel(Pattern pattern, std::uint32_t x, std::uint32_t y, std::uint32_t width,
                          std::uint32_t height, std::uint32_t seed) {
  const std::uint8_t row = kColourRows[seed % std::size(kColourRows)];
  switch (pattern) {
    case Pattern::kBricks: {
      const std::uint32_t brickHeight = std::max<std::uint32_t>(2, height / 8);
      const std::uint32_t brickWidth = std::max<std::uint32_t>(4, width / 4);
      const std::uint32_t course = y / brickHeight;
      const std::uint32_t shifted = x + (course % 2) * brickWidth / 2;
      if (y % brickHeight == 0 || shifted % brickWidth == 0) {
        return Shade(0, 5);
      }
      const std::uint32_t brick = Hash(shifted / brickWidth, course, seed);
      return Shade(row, 4 + brick % 6 + Hash(x, y, seed) % 3);
    }
    case Pattern::kCheckers: {
      const std::uint32_t cell = std::max<std::uint32_t>(1, std::min(width, height) / 8);
      return ((x / cell + y / cell) % 2) != 0 ? Shade(row, 12) : Shade(kColourRows[2], 3);
    }
    case Pattern::kGradient:
      return Shade(row, static_cast<std::uint32_t>((std::uint64_t{x} + y) * 16 / (width + height)));
  }
  return 0;
}

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) {
    out[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
  }
}

void PutName(std::vector<std::uint8_t>& out, std::size_t at, const std::string& name) {
  std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 16), out.begin() + at);
}

const std::pair<std::uint32_t, std::uint32_t> kDefaultSizes[] = {
    {64, 64}, {128, 128}, {356, 356}, {16, 16},   {8, 8},    {4, 4},
    {24, 40}, {256, 128}, {100, 37},  {320, 200}, {512, 512}};

const char* const kStems[] = {"Brick_Red", "CHECK_blue", "grad_Sky",   "+0Switch",
                              "*Water",    "Wall",       "floor_TILE", "Sky_Dusk"};

std::string TextureName(std::size_t k) {
  std::string name = kStems[k % std::size(kStems)];
  name += std::to_string(k);
  return name.substr(0, 15);
}

std::vector<Lump> ExtraLumps() {
  Lump font{"CONCHARS", 0x44, 0, std::vector<std::uint8_t>(128 * 128)};
  for (std::size_t k = 0; k < font.data.size(); ++k) {
    font.data[k] = static_cast<std::uint8_t>((k / 128 / 8 + k % 128 / 8) % 2 ? 15 : 0);
  }
  Lump colours{"ColorMap", 0x40, 0, std::vector<std::uint8_t>(64 * 256 + 1)};
  for (std::size_t k = 0; k < colours.data.size(); ++k) {
    colours.data[k] = static_cast<std::uint8_t>(k);
  }
  Lump picture{"Banner", 0x42, 0, std::vector<std::uint8_t>(8 + 16 * 4, 3)};
  picture.data[0] = 16;
  picture.data[4] = 4;
  return {font, colours, picture};
}

}  // namespace

Texture MakeTexture(const std::string& name, Pattern pattern, std::uint32_t width,
                    std::uint32_t height, std::uint32_t seed) {
  Texture texture{name, width, height, {}};
  for (std::uint32_t level = 0; level < 4; ++level) {
    std::vector<std::uint8_t>& mip = texture.mips[level];
    const std::uint32_t mipWidth = width >> level;
    const std::uint32_t mipHeight = height >> level;
    mip.resize(std::size_t{mipWidth} * mipHeight);
    for (std::uint32_t y = 0; y < mipHeight; ++y) {
      for (std::uint32_t x = 0; x < mipWidth; ++x) {
        mip[std::size_t{y} * mipWidth + x] =
            PatternPixel(pattern, x << level, y << level, width, height, seed);
      }
    }
  }
  return texture;
}

std::vector<std::uint8_t> MiptexLump(const Texture& texture) {
  // Header: name (16 bytes), width, height, four mip offsets from the lump's start.
  std::vector<std::uint8_t> lump(40);
  PutName(lump, 0, texture.name);
  PutU32(lump, 16, texture.width);
  PutU32(lump, 20, texture.height);
  for (std::size_t level = 0; level < 4; ++level) {
    PutU32(lump, 24 + 4 * level, static_cast<std::uint32_t>(lump.size()));
    lump.insert(lump.end(), texture.mips[level].begin(), texture.mips[level].end());
  }
  return lump;
}

std::vector<std::uint8_t> OwnPalette() {
  std::vector<std::uint8_t> palette(768);
  for (std::size_t colour = 0; colour < 256; ++colour) {
    palette[3 * colour] = static_cast<std::uint8_t>(255 - colour);
    palette[3 * colour + 1] = static_cast<std::uint8_t>(colour * 7);
    palette[3 * colour + 2] = static_cast<std::uint8_t>(colour / 2 + 64);
  }
  return palette;
}

std::vector<Lump> MakeLumps(const WadOptions& options, std::vector<Texture>& textures) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes = options.sizes;
  if (sizes.empty()) {
    sizes.assign(std::begin(kDefaultSizes), std::end(kDefaultSizes));
  }
  std::vector<Lump> lumps;
  std::uint64_t bytes = 12;
  if (options.ownPalette) {
    lumps.push_back({"PALETTE", 0x40, 0, OwnPalette()});
  }
  if (options.extras) {
    for (Lump& extra : ExtraLumps()) {
      lumps.push_back(std::move(extra));
    }
  }
  for (const Lump& lump : lumps) {
    bytes += 32 + (lump.data.size() + 3) / 4 * 4;
  }
  textures.clear();
  for (std::size_t k = 0; k < sizes.size() || bytes < options.targetBytes; ++k) {
    const auto [width, height] = sizes[k % sizes.size()];
    const auto pattern = static_cast<Pattern>(k % 3);
    textures.push_back(MakeTexture(TextureName(k), pattern, width, height,
                                   options.seed + static_cast<std::uint32_t>(k)));
    Lump lump{textures.back().name, 0x44, 0, MiptexLump(textures.back())};
    bytes += 32 + (lump.data.size() + 3) / 4 * 4;
    lumps.push_back(std::move(lump));
  }
  return lumps;
}

std::vector<std::uint8_t> AssembleWad2(const std::vector<Lump>& lumps, bool directoryFirst) {
  const std::size_t directoryBytes = 32 * lumps.size();
  std::vector<std::uint8_t> file(12);
  std::copy_n("WAD2", 4, file.begin());
  PutU32(file, 4, static_cast<std::uint32_t>(lumps.size()));
  if (directoryFirst) {
    file.resize(12 + directoryBytes);
  }
  std::vector<std::uint32_t> positions;
  for (const Lump& lump : lumps) {
    positions.push_back(static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), lump.data.begin(), lump.data.end());
    file.resize((file.size() + 3) / 4 * 4);
  }
  const std::size_t directory = directoryFirst ? 12 : file.size();
  PutU32(file, 8, static_cast<std::uint32_t>(directory));
  file.resize(std::max(file.size(), directory + directoryBytes));
  for (std::size_t k = 0; k < lumps.size(); ++k) {
    // Entry: position, size on disk, size, type, compression, two pad bytes, name.
    const std::size_t at = directory + 32 * k;
    const auto size = static_cast<std::uint32_t>(lumps[k].data.size());
    PutU32(file, at, positions[k]);
    PutU32(file, at + 4, size);
    PutU32(file, at + 8, size);
    file[at + 12] = lumps[k].type;
    file[at + 13] = lumps[k].compression;
    PutName(file, at + 16, lumps[k].name);
  }
  return file;
}

}  // namespace wadgen
