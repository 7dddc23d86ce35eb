#pragma once

// The conversion of one WAD held in memory: first a plan that checks the whole input and says
// what the output will hold, then the output written from that plan. Nothing is written for an
// input with a fault, so a failed conversion leaves no partial file behind.

#include <cstdint>
#include <string>
#include <vector>

#include "wadconv/byte_io.h"
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
  Wad3Entry entry;  // name, position and size in the output
  Miptex texture;   // views into the input
};

struct ConversionPlan {
  ConversionKind kind = ConversionKind::kFailed;
  std::vector<std::string> lines;  // what was read, one line per lump, a summary or the errors
  std::vector<PlannedTexture> textures;
  std::size_t skippedLumps = 0;
  Bytes palette;  // the WAD's own palette lump or the standard Quake palette
  std::uint32_t directoryOffset = 0;
  std::uint64_t outputBytes = 0;
};

ConversionPlan PlanConversion(Bytes input);

// Writes the output of a plan that did not fail; `input` is the buffer the plan was made from.
void WriteConversion(const ConversionPlan& plan, Bytes input, ByteSink& sink);

}  // namespace wadconv
