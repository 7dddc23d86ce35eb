// make-wads: writes a Quake WAD2 file of procedural textures.
//
//   make-wads [--bytes N] [--sizes WxH,WxH,...] [--palette] [--extras] [--directory-first]
//             [--seed N] OUTPUT
//
// --bytes adds textures until the file holds about N bytes; --palette adds a palette lump of its
// own; --extras adds Quake's console font lump and other lumps that are not textures.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tools/wad_generator.h"

namespace {

std::uint64_t Number(const std::string& text) {
  std::size_t used = 0;
  const unsigned long long value = std::stoull(text, &used);
  if (used != text.size()) {
    throw std::invalid_argument("not a number: " + text);
  }
  return value;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> Sizes(const std::string& text) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, end - start);
    const std::size_t cross = item.find('x');
    if (cross == std::string::npos) {
      throw std::invalid_argument("not a size WxH: " + item);
    }
    sizes.emplace_back(static_cast<std::uint32_t>(Number(item.substr(0, cross))),
                       static_cast<std::uint32_t>(Number(item.substr(cross + 1))));
    start = end + 1;
  }
  return sizes;
}

int Usage() {
  std::fprintf(stderr,
               "usage: make-wads [--bytes N] [--sizes WxH,...] [--palette] [--extras] "
               "[--directory-first] [--seed N] OUTPUT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  wadgen::WadOptions options;
  std::string output;
  try {
    for (int k = 1; k < argc; ++k) {
      const std::string argument = argv[k];
      const bool hasValue = k + 1 < argc;
      if (argument == "--bytes" && hasValue) {
        options.targetBytes = Number(argv[++k]);
      } else if (argument == "--sizes" && hasValue) {
        options.sizes = Sizes(argv[++k]);
      } else if (argument == "--seed" && hasValue) {
        options.seed = static_cast<std::uint32_t>(Number(argv[++k]));
      } else if (argument == "--palette") {
        options.ownPalette = true;
      } else if (argument == "--extras") {
        options.extras = true;
      } else if (argument == "--directory-first") {
        options.directoryFirst = true;
      } else if (output.empty() && !argument.starts_with("--")) {
        output = argument;
      } else {
        return Usage();
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make-wads: %s\n", error.what());
    return Usage();
  }
  if (output.empty()) {
    return Usage();
  }
  std::vector<wadgen::Texture> textures;
  const std::vector<std::uint8_t> file =
      wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), options.directoryFirst);
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "make-wads: cannot write %s\n", output.c_str());
    return 1;
  }
  std::printf("%s: %zu textures, %zu bytes\n", output.c_str(), textures.size(), file.size());
  return 0;
}
