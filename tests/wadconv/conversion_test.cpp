// The conversion of WADs held in memory: what arrives in the WAD3, and what is refused.

#include "wadconv/conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "tests/wadconv/wad3_inspection.h"
#include "tools/wad_generator.h"
#include "wadconv/palette.h"
#include "wadconv/wad_layout.h"

namespace {

// A good WAD with one 16 x 16 texture "Tex", which the malformed WADs below break in one place.
struct Sample {
  std::vector<std::uint8_t> bytes;
  std::size_t entry = 0;   // directory entry of the texture
  std::size_t miptex = 0;  // start of the texture's lump
  std::uint32_t lumpSize = 0;

  void Put32(std::size_t at, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
      bytes.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
    }
  }
  std::uint32_t Get32(std::size_t at) const {
    return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
           static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
  }
  std::uint32_t size() const { return static_cast<std::uint32_t>(bytes.size()); }
};

Sample GoodSample() {
  const wadgen::Texture texture = wadgen::MakeTexture("Tex", wadgen::Pattern::kBricks, 16, 16, 7);
  Sample sample;
  sample.bytes = wadgen::AssembleWad2(
      {{"Tex", wadconv::kTypeWad2Miptex, 0, wadgen::MiptexLump(texture)}}, false);
  sample.entry = sample.Get32(wadconv::kHeaderDirectoryOffset);
  sample.miptex = sample.Get32(sample.entry + wadconv::kEntryFilePosition);
  sample.lumpSize = sample.Get32(sample.entry + wadconv::kEntrySize);
  return sample;
}

// Each malformed WAD with what is wrong and the piece of an error line that names it.
struct BadWad {
  std::string fault;
  std::vector<std::string> pieces;  // each in a line that starts with the error marker
  std::vector<std::uint8_t> bytes;
};

std::vector<BadWad> BadWads() {
  const struct {
    const char* fault;
    const char* message;
    void (*edit)(Sample& s);
  } edits[] = {
      {"file shorter than its header", "too small for a WAD header",
       [](Sample& s) { s.bytes = {'W', 'A', 'D', '2', 1, 0, 0}; }},
      {"wrong magic", "starts with \"PACK\"",
       [](Sample& s) { std::copy_n("PACK", 4, s.bytes.begin()); }},
      {"directory past the end", "the directory at offset",
       [](Sample& s) { s.Put32(wadconv::kHeaderDirectoryOffset, s.size() - 16); }},
      // 0x08000001 entries of 32 bytes wrap a 32-bit product to 32.
      {"lump count that wraps", "with 134217729 entries lies outside",
       [](Sample& s) { s.Put32(wadconv::kHeaderLumpCount, 0x08000001); }},
      {"lump past the end", "lie outside the file",
       [](Sample& s) { s.Put32(s.entry + wadconv::kEntryFilePosition, s.size() - 10); }},
      {"lump end that wraps", "lie outside the file",
       [](Sample& s) { s.Put32(s.entry + wadconv::kEntryFilePosition, 0xfffffff0); }},
      {"compressed lump", "is compressed",
       [](Sample& s) { s.bytes[s.entry + wadconv::kEntryCompression] = 1; }},
      {"size unlike size on disk", "differs from its size on disk",
       [](Sample& s) { s.Put32(s.entry + wadconv::kEntrySize, s.lumpSize - 1); }},
      {"lump shorter than a texture header", "too small for a texture header",
       [](Sample& s) {
         s.Put32(s.entry + wadconv::kEntryDiskSize, 30);
         s.Put32(s.entry + wadconv::kEntrySize, 30);
       }},
      {"width 0", "0 x 16 has no pixels",
       [](Sample& s) { s.Put32(s.miptex + wadconv::kMiptexWidth, 0); }},
      {"height 0", "16 x 0 has no pixels",
       [](Sample& s) { s.Put32(s.miptex + wadconv::kMiptexHeight, 0); }},
      {"sides beyond the lump", "needs more pixels than fit",
       [](Sample& s) { s.Put32(s.miptex + wadconv::kMiptexWidth, 0x10000); }},
      {"sides whose product overflows", "needs more pixels than fit",
       [](Sample& s) {
         s.Put32(s.miptex + wadconv::kMiptexWidth, 0xffffffff);
         s.Put32(s.miptex + wadconv::kMiptexHeight, 0xffffffff);
       }},
      {"mip past the lump's end", "mip level 2",
       [](Sample& s) { s.Put32(s.miptex + wadconv::kMiptexMipOffsets + 8, s.lumpSize - 1); }},
      {"mip inside the header", "mip level 0",
       [](Sample& s) { s.Put32(s.miptex + wadconv::kMiptexMipOffsets, 0); }},
      {"mip offset that wraps", "mip level 3",
       [](Sample& s) { s.Put32(s.miptex + wadconv::kMiptexMipOffsets + 12, 0xffffffff); }},
  };
  std::vector<BadWad> wads;
  for (const auto& edit : edits) {
    Sample sample = GoodSample();
    edit.edit(sample);
    wads.push_back({edit.fault, {edit.message}, std::move(sample.bytes)});
  }
  return wads;
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

std::vector<std::uint8_t> QuakePaletteBytes() {
  return {wadconv::QuakePalette().begin(), wadconv::QuakePalette().end()};
}

wadgen::WadOptions Options(std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes,
                           bool extras = false, bool ownPalette = false,
                           bool directoryFirst = false) {
  wadgen::WadOptions options;
  options.sizes = std::move(sizes);
  options.extras = extras;
  options.ownPalette = ownPalette;
  options.directoryFirst = directoryFirst;
  return options;
}

std::vector<std::uint8_t> Wad(const wadgen::WadOptions& options,
                              std::vector<wadgen::Texture>& textures) {
  auto lumps = wadgen::MakeLumps(options, textures);
  if (options.ownPalette) {
    // The palette lump, first, moves behind the textures, which it must still reach.
    std::rotate(lumps.begin(), lumps.begin() + 1, lumps.end());
  }
  return wadgen::AssembleWad2(lumps, options.directoryFirst);
}

// Header, then mip 3, a gap, mip 2, mip 1 and mip 0 last.
std::vector<std::uint8_t> BackwardsLump(const wadgen::Texture& texture) {
  std::vector<std::uint8_t> lump(40);
  std::copy(texture.name.begin(), texture.name.end(), lump.begin());
  lump[16] = static_cast<std::uint8_t>(texture.width);
  lump[20] = static_cast<std::uint8_t>(texture.height);
  for (int level = 3; level >= 0; --level) {
    if (level == 2) {
      lump.insert(lump.end(), 5, 0xee);
    }
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
  struct Case {
    const char* what;
    std::vector<std::uint8_t> input;
    std::vector<wadgen::Texture> textures;
    std::vector<std::uint8_t> palette;
  };
  std::vector<Case> cases(6);
  cases[0] = {"sizes of every kind, and lumps that are not textures", {}, {}, QuakePaletteBytes()};
  cases[0].input = Wad(Options({{64, 64}, {356, 356}, {100, 37}, {24, 40}, {3, 9}, {1, 1}}, true),
                       cases[0].textures);
  cases[1] = {"larger than the copy buffer", {}, {}, QuakePaletteBytes()};
  cases[1].input = Wad(Options({{2048, 1024}, {8, 8}, {1024, 2048}}), cases[1].textures);
  cases[2] = {"the WAD's own palette behind the textures", {}, {}, wadgen::OwnPalette()};
  cases[2].input = Wad(Options({}, false, true), cases[2].textures);
  cases[3] = {"the own palette with the directory first", {}, {}, wadgen::OwnPalette()};
  cases[3].input = Wad(Options({}, false, true, true), cases[3].textures);
  // The directory names the texture, in its case and all 16 bytes; the header's name does not.
  const wadgen::Texture full = wadgen::MakeTexture("Header", wadgen::Pattern::kCheckers, 16, 8, 3);
  const wadgen::Texture backwards =
      wadgen::MakeTexture("Backwards", wadgen::Pattern::kGradient, 32, 16, 5);
  cases[4] = {"names from the directory",
              wadgen::AssembleWad2({{"ExactlySixteen16", 0x44, 0, wadgen::MiptexLump(full)},
                                    {"MiXed", 0x44, 0, wadgen::MiptexLump(backwards)}},
                                   false),
              {full, backwards},
              QuakePaletteBytes()};
  cases[4].textures[0].name = "ExactlySixteen16";
  cases[4].textures[1].name = "MiXed";
  // Bytes after the name's first NUL are not part of the name.
  const std::size_t directory = cases[4].input[8] | cases[4].input[9] << 8;
  cases[4].input[directory + 32 + 16 + 6] = 'Z';
  cases[5] = {"mips in any order, with gaps",
              wadgen::AssembleWad2({{"Backwards", 0x44, 0, BackwardsLump(backwards)}}, false),
              {backwards},
              QuakePaletteBytes()};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Converted converted = Convert(c.input);
    ASSERT_EQ(converted.plan.kind, wadconv::ConversionKind::kConvert) << converted.lines;
    EXPECT_EQ(converted.output.size(), converted.plan.outputBytes);
    const std::vector<Wad3Texture> arrived = ReadWad3(converted.output);
    ASSERT_EQ(arrived.size(), c.textures.size());
    for (std::size_t k = 0; k < arrived.size(); ++k) {
      EXPECT_EQ(arrived[k].name, c.textures[k].name);
      EXPECT_EQ(arrived[k].headerName, c.textures[k].name);
      EXPECT_EQ(arrived[k].width, c.textures[k].width);
      EXPECT_EQ(arrived[k].height, c.textures[k].height);
      EXPECT_TRUE(arrived[k].mips == c.textures[k].mips) << c.textures[k].name;
      EXPECT_EQ(arrived[k].palette, c.palette);
    }
  }
}

TEST(WadConversion, LumpsThatAreNotTexturesAreReportedByNameAndTypeAndLeftOut) {
  std::vector<wadgen::Texture> textures;
  auto lumps = wadgen::MakeLumps(Options({{100, 37}}, true), textures);
  lumps.push_back({"conchars", 0x44, 0, std::vector<std::uint8_t>(16384, 9)});
  const auto input = wadgen::AssembleWad2(lumps, false);

  const Converted converted = Convert(input);

  ASSERT_EQ(converted.plan.kind, wadconv::ConversionKind::kConvert) << converted.lines;
  EXPECT_EQ(ReadWad3(converted.output).size(), 1u);
  // Smaller than the WAD, yet complete: the count of what was left out accounts for the difference
  // and leaves less than one converted texture's growth to spare.
  ASSERT_LT(converted.output.size(), input.size());
  EXPECT_GE(converted.output.size(), input.size() - converted.plan.notCarriedOver);
  EXPECT_LT(converted.output.size(), input.size() - converted.plan.notCarriedOver + 800);
  for (const std::string& part : std::vector<std::string>{
           "\"" + textures[0].name + "\" 100 x 37", "\n1 texture converted, 4 lumps skipped",
           std::to_string(converted.plan.notCarriedOver) + " bytes", "lump 1 \"CONCHARS\"",
           "lump 2 \"ColorMap\": type 0x40", "lump 3 \"Banner\": type 0x42",
           "lump 5 \"conchars\""}) {
    EXPECT_NE(converted.lines.find(part), std::string::npos) << part << "\n" << converted.lines;
  }
}

TEST(WadConversion, AWadWithoutQuakeTexturesBecomesItsOwnCopyOrAnEmptyHalfLifeWad) {
  const std::vector<std::uint8_t> emptyWad3 = {'W', 'A', 'D', '3', 0, 0, 0, 0, 12, 0, 0, 0};
  std::vector<std::uint8_t> wad3 = emptyWad3;
  wad3.push_back(0xab);
  EXPECT_EQ(Convert(wad3).plan.kind, wadconv::ConversionKind::kCopy);
  EXPECT_EQ(Convert(wad3).output, wad3);
  EXPECT_EQ(Convert(wadgen::AssembleWad2({}, false)).output, emptyWad3);
}

// Nothing is written; an error line names each fault, every faulty lump in one run.
TEST(WadConversion, EachMalformedWadIsAnErrorThatNamesTheFaultAndWritesNothing) {
  std::vector<BadWad> cases = BadWads();
  cases.push_back({"only pictures",
                   {"the file holds no texture: all 3 of its lumps were skipped (\"CONCHARS\", "
                    "\"PALETTE\", \"Num_0\")"},
                   wadgen::AssembleWad2({{"CONCHARS", 0x44, 0, std::vector<std::uint8_t>(16384, 9)},
                                         {"PALETTE", 0x40, 0, wadgen::OwnPalette()},
                                         {"Num_0", 0x42, 0, std::vector<std::uint8_t>(72, 4)}},
                                        false)});
  const auto good =
      wadgen::MiptexLump(wadgen::MakeTexture("Good", wadgen::Pattern::kBricks, 8, 8, 1));
  auto zeroWidth = good;
  zeroWidth[16] = 0;
  cases.push_back(
      {"two faulty lumps",
       {"lump 2 \"NoWidth\"", "lump 3 \"Packed\" is compressed"},
       wadgen::AssembleWad2(
           {{"Good", 0x44, 0, good}, {"NoWidth", 0x44, 0, zeroWidth}, {"Packed", 0x44, 1, good}},
           false)});
  for (const BadWad& c : cases) {
    SCOPED_TRACE(c.fault);
    const Converted converted = Convert(c.bytes);
    EXPECT_EQ(converted.plan.kind, wadconv::ConversionKind::kFailed);
    EXPECT_TRUE(converted.output.empty());
    for (const std::string& piece : c.pieces) {
      EXPECT_TRUE(std::any_of(converted.plan.lines.begin(), converted.plan.lines.end(),
                              [&](const std::string& line) {
                                return line.rfind(wadconv::kErrorMarker, 0) == 0 &&
                                       line.find(piece) != std::string::npos;
                              }))
          << piece << "\n"
          << converted.lines;
    }
  }
}

TEST(WadConversion, AnInputThatShrankAfterPlanningIsAFaultNotAShortOutput) {
  std::vector<wadgen::Texture> textures;
  const auto input =
      wadgen::AssembleWad2(wadgen::MakeLumps(Options({{64, 64}, {128, 128}}), textures), true);
  wadconv::MemorySource whole(input);
  const wadconv::ConversionPlan plan = wadconv::PlanConversion(whole);
  ASSERT_EQ(plan.kind, wadconv::ConversionKind::kConvert);

  wadconv::MemorySource shrunk(wadconv::Bytes(input).first(input.size() - 100));
  MemorySink sink;
  const wadconv::Fault fault = wadconv::WriteConversion(plan, shrunk, sink);

  ASSERT_TRUE(fault);
  EXPECT_NE(fault->find("ends before byte"), std::string::npos) << *fault;
  EXPECT_LT(sink.bytes_.size(), plan.outputBytes);
}

}  // namespace
