#include "tests/wadconv/bad_wads.h"

#include "tools/wad_generator.h"
#include "wadconv/wad_layout.h"

namespace {

using namespace wadconv;

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) {
    bytes.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
  }
}

std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
         static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

// A good WAD with one 16 x 16 texture "Tex"; the edits below break one thing each.
struct Sample {
  std::vector<std::uint8_t> bytes;
  std::size_t entry = 0;   // directory entry of the texture
  std::size_t miptex = 0;  // start of the texture's lump
  std::uint32_t lumpSize = 0;
};

Sample GoodSample() {
  const wadgen::Texture texture = wadgen::MakeTexture("Tex", wadgen::Pattern::kBricks, 16, 16, 7);
  Sample sample;
  sample.bytes =
      wadgen::AssembleWad2({{"Tex", kTypeWad2Miptex, 0, wadgen::MiptexLump(texture)}}, false);
  sample.entry = Get32(sample.bytes, kHeaderDirectoryOffset);
  sample.miptex = Get32(sample.bytes, sample.entry + kEntryFilePosition);
  sample.lumpSize = Get32(sample.bytes, sample.entry + kEntrySize);
  return sample;
}

BadWad EntryField(std::string fault, std::string message, std::size_t field, std::uint32_t value) {
  Sample sample = GoodSample();
  Put32(sample.bytes, sample.entry + field, value);
  return {std::move(fault), std::move(message), sample.bytes};
}

BadWad MiptexField(std::string fault, std::string message, std::size_t field, std::uint32_t value) {
  Sample sample = GoodSample();
  Put32(sample.bytes, sample.miptex + field, value);
  return {std::move(fault), std::move(message), sample.bytes};
}

}  // namespace

std::vector<BadWad> BadWads() {
  std::vector<BadWad> wads;
  wads.push_back({"file shorter than its header",
                  "too small for a WAD header",
                  {'W', 'A', 'D', '2', 1, 0, 0}});
  {
    Sample sample = GoodSample();
    sample.bytes[0] = 'P';
    sample.bytes[1] = 'A';
    sample.bytes[2] = 'C';
    sample.bytes[3] = 'K';
    wads.push_back({"wrong magic", "starts with \"PACK\"", sample.bytes});
  }
  {
    Sample sample = GoodSample();
    Put32(sample.bytes, kHeaderDirectoryOffset,
          static_cast<std::uint32_t>(sample.bytes.size() - 16));
    wads.push_back({"directory past the end", "the directory at offset", sample.bytes});
  }
  {
    // 0x08000001 entries of 32 bytes wrap a 32-bit product to 32.
    Sample sample = GoodSample();
    Put32(sample.bytes, kHeaderLumpCount, 0x08000001);
    wads.push_back({"lump count that wraps", "with 134217729 entries lies outside", sample.bytes});
  }
  {
    Sample sample = GoodSample();
    wads.push_back(EntryField("lump past the end", "lie outside the file", kEntryFilePosition,
                              static_cast<std::uint32_t>(sample.bytes.size() - 10)));
  }
  wads.push_back(
      EntryField("lump end that wraps", "lie outside the file", kEntryFilePosition, 0xfffffff0));
  {
    Sample sample = GoodSample();
    sample.bytes[sample.entry + kEntryCompression] = 1;
    wads.push_back({"compressed lump", "is compressed", sample.bytes});
  }
  {
    Sample sample = GoodSample();
    wads.push_back(EntryField("size unlike size on disk", "differs from its size on disk",
                              kEntrySize, sample.lumpSize - 1));
  }
  {
    Sample sample = GoodSample();
    Put32(sample.bytes, sample.entry + kEntryDiskSize, 30);
    Put32(sample.bytes, sample.entry + kEntrySize, 30);
    wads.push_back(
        {"lump shorter than a texture header", "too small for a texture header", sample.bytes});
  }
  wads.push_back(MiptexField("width 0", "0 x 16 has no pixels", kMiptexWidth, 0));
  wads.push_back(MiptexField("height 0", "16 x 0 has no pixels", kMiptexHeight, 0));
  wads.push_back(
      MiptexField("sides beyond the lump", "needs more pixels than fit", kMiptexWidth, 0x10000));
  {
    Sample sample = GoodSample();
    Put32(sample.bytes, sample.miptex + kMiptexWidth, 0xffffffff);
    Put32(sample.bytes, sample.miptex + kMiptexHeight, 0xffffffff);
    wads.push_back({"sides whose product overflows", "needs more pixels than fit", sample.bytes});
  }
  {
    Sample sample = GoodSample();
    wads.push_back(MiptexField("mip past the lump's end", "mip level 2", kMiptexMipOffsets + 8,
                               sample.lumpSize - 1));
  }
  wads.push_back(MiptexField("mip inside the header", "mip level 0", kMiptexMipOffsets, 0));
  wads.push_back(
      MiptexField("mip offset that wraps", "mip level 3", kMiptexMipOffsets + 12, 0xffffffff));
  return wads;
}
