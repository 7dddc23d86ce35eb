#include "wadconv/conversion.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "platform/common/ascii.h"
#include "wadconv/palette.h"
#include "wadconv/wad2_reader.h"
#include "wadconv/wad_layout.h"

namespace wadconv {

namespace {

// The largest piece of the input in memory at once while textures are copied.
constexpr std::uint64_t kCopyBytes = std::uint64_t{1} << 20;

std::string TypeText(std::uint8_t type) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02x", type);
  return text;
}

bool IsPaletteLump(const Wad2Lump& lump) {
  return lump.type == kTypePalette && lump.size == kPaletteBytes;
}

bool IsConsoleFont(const Wad2Lump& lump) {
  return lump.type == kTypeWad2Miptex &&
         platform::ascii::SameIgnoringCase(lump.name, kConsoleFontName);
}

// "1 lump", "3 lumps".
std::string Counted(std::uint64_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void Fail(ConversionPlan& plan, const std::string& fault) {
  plan.kind = ConversionKind::kFailed;
  plan.lines.push_back(std::string(kErrorMarker) + " " + fault);
}

// Sorts each lump into the plan: a texture to convert, the palette, or a lump that is skipped.
// Collects every fault rather than stopping at the first, so one run names them all.
void PlanLumps(ByteSource& input, const std::vector<Wad2Lump>& lumps, ConversionPlan& plan,
               std::vector<std::string>& faults) {
  for (const Wad2Lump& lump : lumps) {
    if (Fault fault = CheckLumpPlacement(lump, input.Size())) {
      faults.push_back(*fault);
      continue;
    }
    const std::string described = DescribeLump(lump);
    const ByteRange range = LumpRange(lump);
    if (IsConsoleFont(lump)) {
      ++plan.skippedLumps;
      plan.lines.push_back("Skipped " + described + ": Quake's console font (type " +
                           TypeText(lump.type) + " without a texture header)");
    } else if (lump.type == kTypeWad2Miptex) {
      std::array<std::uint8_t, kMiptexHeaderBytes> header{};
      const auto start = std::span(header).first(
          static_cast<std::size_t>(std::min<std::uint64_t>(range.size, header.size())));
      PlannedTexture planned;
      if (Fault fault = input.ReadAt(range.offset, start)) {
        faults.push_back(described + ": " + *fault);
        continue;
      }
      if (Fault fault = ReadMiptex(range, start, planned.texture)) {
        faults.push_back(described + ": " + *fault);
        continue;
      }
      planned.entry.name = lump.name;
      planned.inputBytes = range.size;
      plan.textures.push_back(planned);
      plan.lines.push_back("Texture \"" + PrintableName(lump.name) + "\" " +
                           std::to_string(planned.texture.width) + " x " +
                           std::to_string(planned.texture.height));
    } else if (IsPaletteLump(lump) && !plan.ownPalette) {
      if (Fault fault = input.ReadAt(range.offset, plan.palette)) {
        faults.push_back(described + ": " + *fault);
        continue;
      }
      plan.ownPalette = true;
      plan.lines.push_back("Palette: " + described);
    } else {
      ++plan.skippedLumps;
      plan.lines.push_back("Skipped " + described + ": type " + TypeText(lump.type) +
                           (IsPaletteLump(lump) ? " (a second palette, not used)" : "") +
                           ", not a texture");
    }
  }
}

// The fault of a WAD whose lumps are all something other than textures: converting it would give a
// WAD3 without content that looks like a success.
std::string NoTextureFault(const std::vector<Wad2Lump>& lumps) {
  constexpr std::size_t kNamesShown = 8;
  std::string names;
  for (std::size_t k = 0; k < lumps.size() && k < kNamesShown; ++k) {
    names += (k == 0 ? "\"" : ", \"") + PrintableName(lumps[k].name) + "\"";
  }
  if (lumps.size() > kNamesShown) {
    names += " and " + std::to_string(lumps.size() - kNamesShown) + " more";
  }
  return "the file holds no texture: all " + std::to_string(lumps.size()) +
         " of its lumps were skipped (" + names + ")";
}

// Places the header, then the textures in directory order, then the directory.
Fault LayOut(ConversionPlan& plan) {
  std::uint64_t position = kHeaderBytes;
  for (PlannedTexture& planned : plan.textures) {
    const std::uint64_t size = Wad3MiptexBytes(planned.texture.width, planned.texture.height);
    if (position + size > std::numeric_limits<std::uint32_t>::max()) {
      return std::string("the converted textures would pass the 4 GiB that WAD offsets reach");
    }
    planned.entry.filePosition = static_cast<std::uint32_t>(position);
    planned.entry.size = static_cast<std::uint32_t>(size);
    position += size;
  }
  plan.directoryOffset = static_cast<std::uint32_t>(position);
  plan.outputBytes = position + plan.textures.size() * kEntryBytes;
  return std::nullopt;
}

// Counts every texture at no more than its converted size, so that a lump padded beyond its mips
// never makes a complete output look short.
std::uint64_t NotCarriedOver(const ConversionPlan& plan, std::uint64_t inputBytes) {
  std::uint64_t carried = kHeaderBytes;
  for (const PlannedTexture& planned : plan.textures) {
    carried += std::min(planned.inputBytes, std::uint64_t{planned.entry.size}) + kEntryBytes;
  }
  return inputBytes > carried ? inputBytes - carried : 0;
}

// Copies `range` of the input to the sink, one buffer's worth at a time.
Fault CopyRange(ByteSource& input, ByteRange range, std::span<std::uint8_t> buffer,
                ByteSink& sink) {
  while (range.size > 0) {
    const auto piece =
        buffer.first(static_cast<std::size_t>(std::min<std::uint64_t>(range.size, buffer.size())));
    if (Fault fault = input.ReadAt(range.offset, piece)) {
      return fault;
    }
    sink.Put(piece);
    range.offset += piece.size();
    range.size -= piece.size();
  }
  return std::nullopt;
}

}  // namespace

ConversionPlan PlanConversion(ByteSource& input) {
  ConversionPlan plan;
  std::string magic;
  if (input.Size() >= kMagicBytes) {
    std::array<std::uint8_t, kMagicBytes> start{};
    if (Fault fault = input.ReadAt(0, start)) {
      Fail(plan, *fault);
      return plan;
    }
    magic = FileMagic(start);
  }
  if (magic == kWad3Magic) {
    plan.kind = ConversionKind::kCopy;
    plan.outputBytes = input.Size();
    plan.lines.push_back("Already a Half-Life WAD (WAD3): copied unchanged, " +
                         std::to_string(input.Size()) + " bytes");
    return plan;
  }
  if (!magic.empty() && magic != kWad2Magic) {
    Fail(plan, "not a Quake WAD: the file starts with \"" + PrintableName(magic) +
                   "\" instead of \"WAD2\"");
    return plan;
  }
  std::vector<Wad2Lump> lumps;
  if (Fault fault = ReadWad2Directory(input, lumps)) {
    Fail(plan, *fault);
    return plan;
  }
  plan.lines.push_back("Quake WAD (WAD2) of " + std::to_string(input.Size()) + " bytes with " +
                       Counted(lumps.size(), "lump"));
  std::vector<std::string> faults;
  PlanLumps(input, lumps, plan, faults);
  if (!plan.ownPalette) {
    plan.palette = QuakePalette();
    plan.lines.push_back("Palette: the standard Quake palette");
  }
  if (faults.empty() && plan.textures.empty() && !lumps.empty()) {
    faults.push_back(NoTextureFault(lumps));
  }
  if (faults.empty()) {
    if (Fault fault = LayOut(plan)) {
      faults.push_back(*fault);
    }
  }
  if (!faults.empty()) {
    for (const std::string& fault : faults) {
      Fail(plan, fault);
    }
    return plan;
  }
  plan.kind = ConversionKind::kConvert;
  plan.lines.push_back(Counted(plan.textures.size(), "texture") + " converted, " +
                       Counted(plan.skippedLumps, "lump") + " skipped");
  plan.notCarriedOver = NotCarriedOver(plan, input.Size());
  if (plan.notCarriedOver > 0) {
    plan.lines.push_back("Not carried over: " + std::to_string(plan.notCarriedOver) +
                         " bytes of the WAD that are not textures");
  }
  return plan;
}

Fault WriteConversion(const ConversionPlan& plan, ByteSource& input, ByteSink& sink) {
  if (plan.kind == ConversionKind::kFailed) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> buffer(std::min(plan.outputBytes, kCopyBytes));
  if (plan.kind == ConversionKind::kCopy) {
    return CopyRange(input, {0, plan.outputBytes}, buffer, sink);
  }
  const Palette palette(plan.palette.data(), kPaletteBytes);
  PutWad3Header(sink, static_cast<std::uint32_t>(plan.textures.size()), plan.directoryOffset);
  for (const PlannedTexture& planned : plan.textures) {
    const Miptex& texture = planned.texture;
    PutWad3MiptexHeader(sink, planned.entry.name, texture.width, texture.height);
    // Mips that follow each other in the input, as they usually do, are copied as one stretch.
    ByteRange stretch = texture.mips[0];
    for (std::size_t level = 1; level <= kMipLevels; ++level) {
      if (level < kMipLevels && texture.mips[level].offset == stretch.offset + stretch.size) {
        stretch.size += texture.mips[level].size;
        continue;
      }
      if (Fault fault = CopyRange(input, stretch, buffer, sink)) {
        return fault;
      }
      if (level < kMipLevels) {
        stretch = texture.mips[level];
      }
    }
    PutWad3MiptexTrailer(sink, palette);
  }
  for (const PlannedTexture& planned : plan.textures) {
    PutWad3DirectoryEntry(sink, planned.entry);
  }
  return std::nullopt;
}

}  // namespace wadconv
