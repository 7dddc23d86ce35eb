#pragma once

// The conversion of one WAD: first a plan that checks the whole input and says what the output
// will hold, then the output written from that plan, its textures copied from the input a bounded
// piece at a time. Nothing is written for an input with a fault, so a failed conversion leaves no
// partial file behind.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "wadconv/byte_io.h"
#include "wadconv/byte_source.h"
#include "wadconv/miptex.h"
#include "wadconv/wad3_writer.h"

namespace wadconv {

// Starts every line that reports an error; the driver looks for it in the converter's output.
inline constexpr char kErrorMarker[] = "** ERROR **";

enum class ConversionKind {
  kFailed,   // the input has faults; nothing is to be written
  kCopy,     // the input already is a WAD3 and is copied unchanged
  kConvert,  // a WAD2 whose textures become WAD3 textures
};

struct PlannedTexture {
  Wad3Entry entry;               // name, position and size in the output
  Miptex texture;                // where its mips lie in the input
  std::uint64_t inputBytes = 0;  // the lump's size in the input
};

struct ConversionPlan {
  ConversionKind kind = ConversionKind::kFailed;
  std::vector<std::string> lines;  // what was read, one line per lump, a summary or the errors
  std::vector<PlannedTexture> textures;
  std::size_t skippedLumps = 0;
  // Bytes of the input that no output byte stands for: lumps that are not textures, the palette,
  // their directory entries, gaps. A complete output is never shorter than the input less these.
  std::uint64_t notCarriedOver = 0;
  bool ownPalette = false;  // whether `palette` is the WAD's own rather than Quake's
  std::array<std::uint8_t, kPaletteBytes> palette{};
  std::uint32_t directoryOffset = 0;
  std::uint64_t outputBytes = 0;
};

ConversionPlan PlanConversion(ByteSource& input);

// Writes the output of a plan that did not fail; `input` is the source the plan was made from.
// A fault when the input can no longer be read as planned (it changed or failed meanwhile); the
// output is then incomplete.
Fault WriteConversion(const ConversionPlan& plan, ByteSource& input, ByteSink& sink);

}  // namespace wadconv
