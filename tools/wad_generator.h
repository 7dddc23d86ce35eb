#pragma once

// Quake WAD2 files built from textures drawn here: bricks, checkers and gradients in various sizes,
// with names in mixed case, optionally with a palette lump of their own and with lumps that are not
// textures. Everything is made in memory; the caller decides where it goes.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace wadgen {

enum class Pattern { kBricks, kCheckers, kGradient };

struct Texture {
  std::string name;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::array<std::vector<std::uint8_t>, 4> mips;  // (width >> k) x (height >> k) each
};

struct Lump {
  std::string name;  // up to 16 bytes
  std::uint8_t type = 0;
  std::uint8_t compression = 0;
  std::vector<std::uint8_t> data;
};

struct WadOptions {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes;  // empty: a built-in mix
  std::uint64_t targetBytes = 0;  // add textures until the file reaches this size; 0: one per size
  bool ownPalette = false;        // add a PALETTE lump (type 0x40) with OwnPalette()
  bool extras = false;            // add CONCHARS and other lumps that are not textures
  bool directoryFirst = false;    // place the directory before the lumps
  std::uint32_t seed = 1;
};

Texture MakeTexture(const std::string& name, Pattern pattern, std::uint32_t width,
                    std::uint32_t height, std::uint32_t seed);

// The texture as a Quake miptex lump (type 0x44): header with its name, then the mips in order.
std::vector<std::uint8_t> MiptexLump(const Texture& texture);

// A palette unlike Quake's, so that a test can tell which one a converter used.
std::vector<std::uint8_t> OwnPalette();

// Lumps of a WAD made to `options`; the textures among them are returned in `textures`, in order.
std::vector<Lump> MakeLumps(const WadOptions& options, std::vector<Texture>& textures);

// The WAD2 file: header, lumps each starting at a multiple of 4, directory after them (or before).
std::vector<std::uint8_t> AssembleWad2(const std::vector<Lump>& lumps, bool directoryFirst);

}  // namespace wadgen
