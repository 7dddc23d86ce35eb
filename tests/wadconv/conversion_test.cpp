// The conversion of WADs held in memory: what arrives in the WAD3, and what is refused.

#include "wadconv/conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "tests/wadconv/wad3_lumps.h"
#include "tools/wad_generator.h"
#include "wadconv/palette.h"
#include "wadconv/wad_layout.h"

namespace {

using wadconv::ConversionKind;

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) {
    bytes.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
  }
}

class MemorySink : public wadconv::ByteSink {
 public:
  void Put(wadconv::Bytes bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  std::vector<std::uint8_t> bytes_;
};

// Passes reads through and keeps the largest: the converter must not take in large pieces.
class MeasuredSource : public wadconv::ByteSource {
 public:
  explicit MeasuredSource(wadconv::Bytes bytes) : inner_(bytes) {}
  std::uint64_t Size() const override { return inner_.Size(); }
  wadconv::Fault ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    largestRead = std::max(largestRead, out.size());
    return inner_.ReadAt(offset, out);
  }
  std::size_t largestRead = 0;

 private:
  wadconv::MemorySource inner_;
};

struct Converted {
  wadconv::ConversionPlan plan;
  std::vector<std::uint8_t> output;
  std::string lines;  // the plan's lines, each ended by "\n"
};

Converted Convert(const std::vector<std::uint8_t>& input) {
  MeasuredSource source(input);
  Converted converted{wadconv::PlanConversion(source), {}, {}};
  MemorySink sink;
  const wadconv::Fault fault = wadconv::WriteConversion(converted.plan, source, sink);
  EXPECT_FALSE(fault) << *fault;
  EXPECT_LE(source.largestRead, std::size_t{1} << 20);
  converted.output = sink.bytes_;
  for (const std::string& line : converted.plan.lines) {
    converted.lines += line + "\n";
  }
  return converted;
}

struct Arrival {
  const char* what;
  std::vector<std::uint8_t> input;
  std::vector<wadgen::Texture> textures;
  std::vector<std::uint8_t> palette{wadconv::QuakePalette().begin(), wadconv::QuakePalette().end()};
  std::vector<std::string> said = {};  // pieces of the plan's lines
};

Arrival Generated(const char* what, const wadgen::WadOptions& options,
                  const std::vector<wadgen::Lump>& more = {}) {
  Arrival arrival{what, {}, {}};
  auto lumps = wadgen::MakeLumps(options, arrival.textures);
  lumps.insert(lumps.end(), more.begin(), more.end());
  if (options.ownPalette) {
    // The palette lump, first, moves behind the textures, which it must still reach.
    std::rotate(lumps.begin(), lumps.begin() + 1, lumps.end());
    arrival.palette = wadgen::OwnPalette();
  }
  arrival.input = wadgen::AssembleWad2(lumps, options.directoryFirst);
  return arrival;
}

// Header, then mip 3, a gap, mip 2, mip 1 and mip 0 last.
std::vector<std::uint8_t> BackwardsLump(const wadgen::Texture& texture) {
  std::vector<std::uint8_t> lump = wadgen::MiptexLump(texture);
  lump.resize(40);
  for (int level = 3; level >= 0; --level) {
    lump.insert(lump.end(), level == 2 ? 5 : 0, 0xee);
    const auto offset = static_cast<std::uint32_t>(lump.size());
    for (int k = 0; k < 4; ++k) {
      lump[24 + 4 * level + k] = static_cast<std::uint8_t>(offset >> (8 * k));
    }
    lump.insert(lump.end(), texture.mips[level].begin(), texture.mips[level].end());
  }
  return lump;
}

// Every texture arrives with its directory name (as the header's name too), its size, all four
// mips and the WAD's own palette or else Quake's; reads stay bounded however large a texture.
TEST(WadConversion, EveryTextureArrivesWhole) {
  const wadgen::Texture full =
      wadgen::MakeTexture("ExactlySixteen16", wadgen::Pattern::kCheckers, 16, 8, 3);
  const wadgen::Texture mixed = wadgen::MakeTexture("MiXed", wadgen::Pattern::kGradient, 32, 16, 5);
  // The directory names the texture, in its case and all 16 bytes; the header's name does not.
  const auto headerNamed = [](wadgen::Texture texture) {
    texture.name = "Header";
    return wadgen::MiptexLump(texture);
  };
  std::vector<Arrival> cases = {
      Generated(
          "sizes of every kind, and lumps that are not textures",
          {.sizes = {{64, 64}, {356, 356}, {100, 37}, {24, 40}, {3, 9}, {1, 1}}, .extras = true},
          {{"conchars", 0x44, 0, std::vector<std::uint8_t>(16384, 9)}}),
      Generated("larger than the copy buffer", {.sizes = {{2048, 1024}, {8, 8}, {1024, 2048}}}),
      Generated("the WAD's own palette behind the textures", {.sizes = {}, .ownPalette = true}),
      Generated("the own palette, directory first",
                {.sizes = {}, .ownPalette = true, .directoryFirst = true}),
      {"mips in any order, with gaps",
       wadgen::AssembleWad2({{"MiXed", 0x44, 0, BackwardsLump(mixed)}}, false),
       {mixed}},
      {"names from the directory",
       wadgen::AssembleWad2({{"ExactlySixteen16", 0x44, 0, headerNamed(full)},
                             {"MiXed", 0x44, 0, headerNamed(mixed)}},
                            false),
       {full, mixed}},
  };
  cases[0].said = {"\"" + cases[0].textures[2].name + "\" 100 x 37",
                   "\n6 textures converted, 4 lumps skipped",
                   "lump 1 \"CONCHARS\"",
                   "lump 2 \"ColorMap\": type 0x40",
                   "lump 3 \"Banner\": type 0x42",
                   "lump 10 \"conchars\""};
  // Bytes after the name's first NUL are not part of the name.
  cases.back().input.at(LittleU32(cases.back().input, 8) + 32 + 16 + 6) = 'Z';
  for (const Arrival& c : cases) {
    SCOPED_TRACE(c.what);
    const Converted converted = Convert(c.input);
    ASSERT_EQ(converted.plan.kind, ConversionKind::kConvert) << converted.lines;
    EXPECT_EQ(converted.output.size(), converted.plan.outputBytes);
    // What was left out accounts for all but the textures' growth, and is reported.
    const std::uint64_t left = converted.plan.notCarriedOver;
    EXPECT_GE(converted.output.size(), c.input.size() - left);
    EXPECT_LT(converted.output.size(), c.input.size() - left + 800 * c.textures.size());
    EXPECT_EQ(converted.lines.find("over: " + std::to_string(left) + " bytes") != std::string::npos,
              left > 0);
    for (const std::string& piece : c.said) {
      EXPECT_NE(converted.lines.find(piece), std::string::npos) << piece << "\n" << converted.lines;
    }
    const std::vector<Wad3Lump> arrived = Wad3Lumps(converted.output);
    ASSERT_EQ(arrived.size(), c.textures.size());
    for (std::size_t k = 0; k < arrived.size(); ++k) {
      // A WAD3 texture: the miptex lump, then a palette count of 256, the palette, two zeros.
      std::vector<std::uint8_t> lump = wadgen::MiptexLump(c.textures[k]);
      lump.insert(lump.end(), {0, 1});
      lump.insert(lump.end(), c.palette.begin(), c.palette.end());
      lump.insert(lump.end(), {0, 0});
      EXPECT_EQ(arrived[k].name,
                c.textures[k].name + std::string(16 - c.textures[k].name.size(), 0));
      EXPECT_TRUE(arrived[k].bytes == lump) << c.textures[k].name;
    }
  }
}

TEST(WadConversion, AWadWithoutQuakeTexturesBecomesItsOwnCopyOrAnEmptyHalfLifeWad) {
  const std::vector<std::uint8_t> emptyWad3 = {'W', 'A', 'D', '3', 0, 0, 0, 0, 12, 0, 0, 0};
  std::vector<std::uint8_t> wad3 = emptyWad3;
  wad3.push_back(0xab);
  EXPECT_EQ(Convert(wad3).plan.kind, ConversionKind::kCopy);
  EXPECT_EQ(Convert(wad3).output, wad3);
  EXPECT_EQ(Convert(wadgen::AssembleWad2({}, false)).output, emptyWad3);
}

// Nothing is written; an error line names each fault, every faulty lump in one run.
TEST(WadConversion, EachMalformedWadIsAnErrorThatNamesTheFaultAndWritesNothing) {
  using namespace wadconv;  // the layout's offsets
  // A good WAD with one 16 x 16 texture, which each row breaks in one place.
  const auto good = wadgen::AssembleWad2(
      {{"Tex", 0x44, 0,
        wadgen::MiptexLump(wadgen::MakeTexture("Tex", wadgen::Pattern::kBricks, 16, 16, 7))}},
      false);
  const std::uint32_t size = static_cast<std::uint32_t>(good.size());
  const std::size_t entry = LittleU32(good, kHeaderDirectoryOffset);
  const std::size_t miptex = LittleU32(good, entry + kEntryFilePosition);
  const std::uint32_t lumpSize = LittleU32(good, entry + kEntrySize);
  const auto small =
      wadgen::MiptexLump(wadgen::MakeTexture("Good", wadgen::Pattern::kBricks, 8, 8, 1));
  auto noWidth = small;
  noWidth[kMiptexWidth] = 0;
  const auto twoFaulty = wadgen::AssembleWad2(
      {{"Good", 0x44, 0, small}, {"NoWidth", 0x44, 0, noWidth}, {"Packed", 0x44, 1, small}}, false);
  const struct {
    std::string piece;  // of a line that starts with the error marker
    std::vector<std::pair<std::size_t, std::uint32_t>> puts;  // values put into the good WAD
    std::vector<std::uint8_t> wad = {};                       // or else this WAD
  } cases[] = {
      {"too small for a WAD header", {}, {'W', 'A', 'D', '2', 1, 0, 0}},
      {"starts with \"PACK\"", {{kHeaderMagic, 'P' | 'A' << 8 | 'C' << 16 | 'K' << 24}}},
      {"the directory at offset", {{kHeaderDirectoryOffset, size - 16}}},
      // 0x08000001 entries of 32 bytes wrap a 32-bit product to 32.
      {"with 134217729 entries lies outside", {{kHeaderLumpCount, 0x08000001}}},
      {"lie outside the file", {{entry + kEntryFilePosition, size - 10}}},
      {"lie outside the file", {{entry + kEntryFilePosition, 0xfffffff0}}},
      {"is compressed", {{entry + kEntryType, 0x144}}},  // type 0x44, compression 1
      {"differs from its size on disk", {{entry + kEntrySize, lumpSize - 1}}},
      {"too small for a texture header", {{entry + kEntryDiskSize, 30}, {entry + kEntrySize, 30}}},
      {"0 x 16 has no pixels", {{miptex + kMiptexWidth, 0}}},
      {"16 x 0 has no pixels", {{miptex + kMiptexHeight, 0}}},
      {"needs more pixels than fit", {{miptex + kMiptexWidth, 0x10000}}},
      {"needs more pixels than fit", {{miptex + kMiptexWidth, ~0u}, {miptex + kMiptexHeight, ~0u}}},
      {"mip level 2", {{miptex + kMiptexMipOffsets + 8, lumpSize - 1}}},
      {"mip level 0", {{miptex + kMiptexMipOffsets, 0}}},
      {"mip level 3", {{miptex + kMiptexMipOffsets + 12, ~0u}}},
      {"the file holds no texture: all 3 of its lumps were skipped (\"CONCHARS\", \"PALETTE\", "
       "\"Num_0\")",
       {},
       wadgen::AssembleWad2({{"CONCHARS", 0x44, 0, std::vector<std::uint8_t>(16384, 9)},
                             {"PALETTE", 0x40, 0, wadgen::OwnPalette()},
                             {"Num_0", 0x42, 0, std::vector<std::uint8_t>(72, 4)}},
                            false)},
      {"lump 2 \"NoWidth\"", {}, twoFaulty},
      {"lump 3 \"Packed\" is compressed", {}, twoFaulty},
  };
  for (std::size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row) + ": " + cases[row].piece);
    std::vector<std::uint8_t> wad = cases[row].wad.empty() ? good : cases[row].wad;
    for (const auto& [at, value] : cases[row].puts) {
      Put32(wad, at, value);
    }
    const Converted converted = Convert(wad);
    EXPECT_EQ(converted.plan.kind, ConversionKind::kFailed);
    EXPECT_TRUE(converted.output.empty());
    EXPECT_TRUE(std::any_of(converted.plan.lines.begin(), converted.plan.lines.end(),
                            [&](const std::string& line) {
                              return line.starts_with(kErrorMarker) &&
                                     line.find(cases[row].piece) != std::string::npos;
                            }))
        << converted.lines;
  }
}

TEST(WadConversion, AnInputThatShrankAfterPlanningIsAFaultNotAShortOutput) {
  std::vector<wadgen::Texture> textures;
  const auto input =
      wadgen::AssembleWad2(wadgen::MakeLumps({.sizes = {{64, 64}, {128, 128}}}, textures), true);
  wadconv::MemorySource whole(input);
  const wadconv::ConversionPlan plan = wadconv::PlanConversion(whole);
  ASSERT_EQ(plan.kind, ConversionKind::kConvert);

  wadconv::MemorySource shrunk(wadconv::Bytes(input).first(input.size() - 100));
  MemorySink sink;
  const wadconv::Fault fault = wadconv::WriteConversion(plan, shrunk, sink);

  ASSERT_TRUE(fault);
  EXPECT_NE(fault->find("ends before byte"), std::string::npos) << *fault;
  EXPECT_LT(sink.bytes_.size(), plan.outputBytes);
}

}  // namespace
