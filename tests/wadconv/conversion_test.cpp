// The conversion of WADs held in memory: what arrives in the WAD3, and what is refused.

#include "wadconv/conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <span>

#include "tests/wadconv/bad_wads.h"
#include "tests/wadconv/wad3_inspection.h"
#include "tools/wad_generator.h"
#include "wadconv/palette.h"

namespace {

class MemorySink : public wadconv::ByteSink {
 public:
  void Put(wadconv::Bytes bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  std::vector<std::uint8_t> bytes_;
};

struct Converted {
  wadconv::ConversionPlan plan;
  std::vector<std::uint8_t> output;
};

Converted Convert(const std::vector<std::uint8_t>& input) {
  wadconv::MemorySource source(input);
  Converted converted{wadconv::PlanConversion(source), {}};
  MemorySink sink;
  const wadconv::Fault fault = wadconv::WriteConversion(converted.plan, source, sink);
  EXPECT_FALSE(fault) << *fault;
  converted.output = sink.bytes_;
  return converted;
}

std::string AllLines(const wadconv::ConversionPlan& plan) {
  std::string text;
  for (const std::string& line : plan.lines) {
    text += line + "\n";
  }
  return text;
}

std::vector<std::uint8_t> QuakePaletteBytes() {
  return {wadconv::QuakePalette().begin(), wadconv::QuakePalette().end()};
}

void ExpectTexturesArrived(const std::vector<wadgen::Texture>& expected,
                           const std::vector<Wad3Texture>& actual,
                           const std::vector<std::uint8_t>& palette) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    SCOPED_TRACE(expected[k].name);
    EXPECT_EQ(actual[k].name, expected[k].name);
    EXPECT_EQ(actual[k].headerName, expected[k].name);
    EXPECT_EQ(actual[k].width, expected[k].width);
    EXPECT_EQ(actual[k].height, expected[k].height);
    for (std::size_t level = 0; level < 4; ++level) {
      EXPECT_EQ(actual[k].mips[level], expected[k].mips[level]) << "mip level " << level;
    }
    EXPECT_EQ(actual[k].palette, palette);
  }
}

TEST(QuakePalette, HoldsQuakesColours) {
  const auto& palette = wadconv::QuakePalette();
  EXPECT_EQ((std::vector<int>{palette[0], palette[1], palette[2]}), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ((std::vector<int>{palette[3], palette[4], palette[5]}), (std::vector<int>{15, 15, 15}));
  EXPECT_EQ((std::vector<int>{palette[48], palette[49], palette[50]}),
            (std::vector<int>{15, 11, 7}));
  EXPECT_EQ((std::vector<int>{palette[765], palette[766], palette[767]}),
            (std::vector<int>{159, 91, 83}));
  EXPECT_EQ(std::accumulate(palette.begin(), palette.end(), 0), 60061);
}

TEST(WadConversion, EveryTextureArrivesWithItsNameSizeAllFourMipsAndTheQuakePalette) {
  wadgen::WadOptions options;
  options.sizes = {{64, 64}, {356, 356}, {100, 37}, {24, 40}, {8, 8}, {3, 9}, {1, 1}};
  options.extras = true;
  std::vector<wadgen::Texture> textures;
  const auto input = wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), false);

  const Converted converted = Convert(input);

  ASSERT_EQ(converted.plan.kind, wadconv::ConversionKind::kConvert) << AllLines(converted.plan);
  EXPECT_EQ(converted.output.size(), converted.plan.outputBytes);
  ExpectTexturesArrived(textures, ReadWad3(converted.output), QuakePaletteBytes());
  const std::string lines = AllLines(converted.plan);
  EXPECT_NE(lines.find("Palette: the standard Quake palette"), std::string::npos) << lines;
  EXPECT_NE(lines.find("Texture \"grad_Sky2\" 100 x 37"), std::string::npos) << lines;
  EXPECT_NE(lines.find("7 textures converted, 3 lumps skipped"), std::string::npos) << lines;
}

TEST(WadConversion, LumpsThatAreNotTexturesAreReportedByNameAndTypeAndLeftOut) {
  wadgen::WadOptions options;
  options.sizes = {{16, 16}};
  options.extras = true;
  std::vector<wadgen::Texture> textures;
  auto lumps = wadgen::MakeLumps(options, textures);
  lumps.push_back({"conchars", 0x44, 0, std::vector<std::uint8_t>(16384, 9)});

  const auto input = wadgen::AssembleWad2(lumps, false);

  const Converted converted = Convert(input);

  ASSERT_EQ(converted.plan.kind, wadconv::ConversionKind::kConvert) << AllLines(converted.plan);
  EXPECT_EQ(ReadWad3(converted.output).size(), 1u);
  // Smaller than the WAD, yet complete: the count of what was left out accounts for the difference
  // and leaves less than one converted texture's growth to spare.
  ASSERT_LT(converted.output.size(), input.size());
  EXPECT_GE(converted.output.size(), input.size() - converted.plan.notCarriedOver);
  EXPECT_LT(converted.output.size(), input.size() - converted.plan.notCarriedOver + 800);
  const std::string lines = AllLines(converted.plan);
  EXPECT_NE(lines.find("\n1 texture converted, "), std::string::npos) << lines;
  EXPECT_NE(lines.find("Not carried over: " + std::to_string(converted.plan.notCarriedOver) +
                       " bytes of the WAD that are not textures"),
            std::string::npos)
      << lines;
  for (const char* skipped : {"Skipped lump 1 \"CONCHARS\": Quake's console font (type 0x44",
                              "Skipped lump 2 \"ColorMap\": type 0x40, not a texture",
                              "Skipped lump 3 \"Banner\": type 0x42, not a texture",
                              "Skipped lump 5 \"conchars\": Quake's console font"}) {
    EXPECT_NE(lines.find(skipped), std::string::npos) << skipped << "\n" << lines;
  }
}

TEST(WadConversion, TheWadsOwnPaletteLumpIsUsedWhereverItLies) {
  for (const bool directoryFirst : {false, true}) {
    SCOPED_TRACE(directoryFirst ? "directory first" : "directory last");
    wadgen::WadOptions options;
    options.ownPalette = true;
    options.directoryFirst = directoryFirst;
    std::vector<wadgen::Texture> textures;
    auto lumps = wadgen::MakeLumps(options, textures);
    // The palette behind the textures must still reach every texture.
    std::rotate(lumps.begin(), lumps.begin() + 1, lumps.end());

    const Converted converted = Convert(wadgen::AssembleWad2(lumps, directoryFirst));

    ASSERT_EQ(converted.plan.kind, wadconv::ConversionKind::kConvert) << AllLines(converted.plan);
    ExpectTexturesArrived(textures, ReadWad3(converted.output), wadgen::OwnPalette());
  }
}

TEST(WadConversion, NamesComeFromTheDirectoryKeepTheirCaseAndUseAllSixteenBytes) {
  wadgen::Texture full = wadgen::MakeTexture("Header_Name", wadgen::Pattern::kCheckers, 16, 8, 3);
  wadgen::Texture cut = wadgen::MakeTexture("other", wadgen::Pattern::kGradient, 8, 16, 4);
  auto input = wadgen::AssembleWad2({{"ExactlySixteen16", 0x44, 0, wadgen::MiptexLump(full)},
                                     {"MiXed", 0x44, 0, wadgen::MiptexLump(cut)}},
                                    false);
  // Bytes after the name's first NUL are not part of the name.
  const std::size_t directory = input[8] | input[9] << 8 | input[10] << 16;
  input[directory + 32 + 16 + 6] = 'Z';

  const Converted converted = Convert(input);

  ASSERT_EQ(converted.plan.kind, wadconv::ConversionKind::kConvert) << AllLines(converted.plan);
  const auto textures = ReadWad3(converted.output);
  ASSERT_EQ(textures.size(), 2u);
  EXPECT_EQ(textures[0].name, "ExactlySixteen16");
  EXPECT_EQ(textures[0].headerName, "ExactlySixteen16");
  EXPECT_EQ(textures[1].name, "MiXed");
  EXPECT_EQ(textures[1].headerName, "MiXed");
}

TEST(WadConversion, AHalfLifeWadIsCopiedUnchanged) {
  std::vector<std::uint8_t> input = {'W', 'A', 'D', '3', 0, 0, 0, 0, 12, 0, 0, 0, 0xab};

  const Converted converted = Convert(input);

  EXPECT_EQ(converted.plan.kind, wadconv::ConversionKind::kCopy);
  EXPECT_EQ(converted.output, input);
  EXPECT_NE(AllLines(converted.plan).find("Already a Half-Life WAD (WAD3): copied unchanged"),
            std::string::npos);
}

TEST(WadConversion, EachMalformedWadIsAnErrorThatNamesTheFaultAndWritesNothing) {
  for (const BadWad& bad : BadWads()) {
    SCOPED_TRACE(bad.fault);
    const Converted converted = Convert(bad.bytes);
    EXPECT_EQ(converted.plan.kind, wadconv::ConversionKind::kFailed);
    EXPECT_TRUE(converted.output.empty());
    bool named = false;
    for (const std::string& line : converted.plan.lines) {
      if (line.find("ERROR") != std::string::npos) {
        EXPECT_EQ(line.rfind("** ERROR ** ", 0), 0u) << line;
        named = named || line.find(bad.message) != std::string::npos;
      }
    }
    EXPECT_TRUE(named) << "no error line holds \"" << bad.message << "\":\n"
                       << AllLines(converted.plan);
  }
}

TEST(WadConversion, AWadOfPicturesWithoutOneTextureIsAnErrorNamingWhatItSkipped) {
  const auto input =
      wadgen::AssembleWad2({{"CONCHARS", 0x44, 0, std::vector<std::uint8_t>(16384, 9)},
                            {"PALETTE", 0x40, 0, wadgen::OwnPalette()},
                            {"Num_0", 0x42, 0, std::vector<std::uint8_t>(72, 4)}},
                           false);

  const Converted converted = Convert(input);

  EXPECT_EQ(converted.plan.kind, wadconv::ConversionKind::kFailed);
  EXPECT_TRUE(converted.output.empty());
  const std::string lines = AllLines(converted.plan);
  EXPECT_NE(lines.find("** ERROR ** the file holds no texture: all 3 of its lumps were skipped "
                       "(\"CONCHARS\", \"PALETTE\", \"Num_0\")"),
            std::string::npos)
      << lines;
}

TEST(WadConversion, AWadWithoutLumpsBecomesAnEmptyHalfLifeWad) {
  const Converted converted = Convert(wadgen::AssembleWad2({}, false));

  ASSERT_EQ(converted.plan.kind, wadconv::ConversionKind::kConvert) << AllLines(converted.plan);
  EXPECT_EQ(converted.output,
            (std::vector<std::uint8_t>{'W', 'A', 'D', '3', 0, 0, 0, 0, 12, 0, 0, 0}));
}

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

TEST(WadConversion, TexturesLargerThanTheCopyBufferArriveWholeThroughBoundedReads) {
  wadgen::WadOptions options;
  options.sizes = {{2048, 1024}, {8, 8}, {1024, 2048}};
  std::vector<wadgen::Texture> textures;
  const auto input = wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), false);
  MeasuredSource source(input);

  const wadconv::ConversionPlan plan = wadconv::PlanConversion(source);
  MemorySink sink;
  const wadconv::Fault fault = wadconv::WriteConversion(plan, source, sink);

  ASSERT_EQ(plan.kind, wadconv::ConversionKind::kConvert) << AllLines(plan);
  EXPECT_FALSE(fault) << *fault;
  EXPECT_LE(source.largestRead, std::size_t{1} << 20);
  EXPECT_EQ(sink.bytes_.size(), plan.outputBytes);
  ExpectTexturesArrived(textures, ReadWad3(sink.bytes_), QuakePaletteBytes());
}

TEST(WadConversion, MipsStoredInAnyOrderWithGapsArriveInTheirOwnPlaces) {
  const wadgen::Texture texture =
      wadgen::MakeTexture("Backwards", wadgen::Pattern::kGradient, 32, 16, 5);
  // Header, then mip 3, a gap, mip 2, mip 1 and mip 0 last.
  std::vector<std::uint8_t> lump(40);
  std::copy_n("Backwards", 9, lump.begin());
  lump[16] = 32;
  lump[20] = 16;
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

  const Converted converted = Convert(wadgen::AssembleWad2({{"Backwards", 0x44, 0, lump}}, false));

  ASSERT_EQ(converted.plan.kind, wadconv::ConversionKind::kConvert) << AllLines(converted.plan);
  ExpectTexturesArrived({texture}, ReadWad3(converted.output), QuakePaletteBytes());
}

TEST(WadConversion, AnInputThatShrankAfterPlanningIsAFaultNotAShortOutput) {
  wadgen::WadOptions options;
  options.sizes = {{64, 64}, {128, 128}};
  std::vector<wadgen::Texture> textures;
  const auto input = wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), true);
  wadconv::MemorySource whole(input);
  const wadconv::ConversionPlan plan = wadconv::PlanConversion(whole);
  ASSERT_EQ(plan.kind, wadconv::ConversionKind::kConvert) << AllLines(plan);

  wadconv::MemorySource shrunk(wadconv::Bytes(input).first(input.size() - 100));
  MemorySink sink;
  const wadconv::Fault fault = wadconv::WriteConversion(plan, shrunk, sink);

  ASSERT_TRUE(fault);
  EXPECT_NE(fault->find("ends before byte"), std::string::npos) << *fault;
  EXPECT_LT(sink.bytes_.size(), plan.outputBytes);
}

TEST(WadConversion, EveryFaultyLumpIsNamedInOneRun) {
  const wadgen::Texture texture = wadgen::MakeTexture("Good", wadgen::Pattern::kBricks, 8, 8, 1);
  std::vector<std::uint8_t> lump = wadgen::MiptexLump(texture);
  std::vector<std::uint8_t> zeroWidth = lump;
  zeroWidth[16] = 0;
  const auto input = wadgen::AssembleWad2(
      {{"Good", 0x44, 0, lump}, {"NoWidth", 0x44, 0, zeroWidth}, {"Packed", 0x44, 1, lump}}, false);

  const Converted converted = Convert(input);

  EXPECT_EQ(converted.plan.kind, wadconv::ConversionKind::kFailed);
  const std::string lines = AllLines(converted.plan);
  EXPECT_NE(lines.find("** ERROR ** lump 2 \"NoWidth\""), std::string::npos) << lines;
  EXPECT_NE(lines.find("** ERROR ** lump 3 \"Packed\" is compressed"), std::string::npos) << lines;
}

}  // namespace
