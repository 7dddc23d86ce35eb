#include "tests/wadconv/bad_wads.h"

#include <algorithm>

#include "tools/wad_generator.h"
#include "wadconv/wad_layout.h"

namespace {

using namespace wadconv;

// A good WAD with one 16 x 16 texture "Tex"; the edits below break one thing each.
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
  sample.bytes =
      wadgen::AssembleWad2({{"Tex", kTypeWad2Miptex, 0, wadgen::MiptexLump(texture)}}, false);
  sample.entry = sample.Get32(kHeaderDirectoryOffset);
  sample.miptex = sample.Get32(sample.entry + kEntryFilePosition);
  sample.lumpSize = sample.Get32(sample.entry + kEntrySize);
  return sample;
}

}  // namespace

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
       [](Sample& s) { s.Put32(kHeaderDirectoryOffset, s.size() - 16); }},
      // 0x08000001 entries of 32 bytes wrap a 32-bit product to 32.
      {"lump count that wraps", "with 134217729 entries lies outside",
       [](Sample& s) { s.Put32(kHeaderLumpCount, 0x08000001); }},
      {"lump past the end", "lie outside the file",
       [](Sample& s) { s.Put32(s.entry + kEntryFilePosition, s.size() - 10); }},
      {"lump end that wraps", "lie outside the file",
       [](Sample& s) { s.Put32(s.entry + kEntryFilePosition, 0xfffffff0); }},
      {"compressed lump", "is compressed",
       [](Sample& s) { s.bytes[s.entry + kEntryCompression] = 1; }},
      {"size unlike size on disk", "differs from its size on disk",
       [](Sample& s) { s.Put32(s.entry + kEntrySize, s.lumpSize - 1); }},
      {"lump shorter than a texture header", "too small for a texture header",
       [](Sample& s) {
         s.Put32(s.entry + kEntryDiskSize, 30);
         s.Put32(s.entry + kEntrySize, 30);
       }},
      {"width 0", "0 x 16 has no pixels", [](Sample& s) { s.Put32(s.miptex + kMiptexWidth, 0); }},
      {"height 0", "16 x 0 has no pixels", [](Sample& s) { s.Put32(s.miptex + kMiptexHeight, 0); }},
      {"sides beyond the lump", "needs more pixels than fit",
       [](Sample& s) { s.Put32(s.miptex + kMiptexWidth, 0x10000); }},
      {"sides whose product overflows", "needs more pixels than fit",
       [](Sample& s) {
         s.Put32(s.miptex + kMiptexWidth, 0xffffffff);
         s.Put32(s.miptex + kMiptexHeight, 0xffffffff);
       }},
      {"mip past the lump's end", "mip level 2",
       [](Sample& s) { s.Put32(s.miptex + kMiptexMipOffsets + 8, s.lumpSize - 1); }},
      {"mip inside the header", "mip level 0",
       [](Sample& s) { s.Put32(s.miptex + kMiptexMipOffsets, 0); }},
      {"mip offset that wraps", "mip level 3",
       [](Sample& s) { s.Put32(s.miptex + kMiptexMipOffsets + 12, 0xffffffff); }},
  };
  std::vector<BadWad> wads;
  for (const auto& edit : edits) {
    Sample sample = GoodSample();
    edit.edit(sample);
    wads.push_back({edit.fault, edit.message, std::move(sample.bytes)});
  }
  return wads;
}
