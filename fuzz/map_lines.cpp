// libFuzzer target: pellisk's rewrite of a map held in memory. The first byte sets how many bytes
// each read hands out; the rest is the map. The rewritten map must equal a plain reading of it:
// its lines without those that hold "mapversion" in any letter case, each kept line followed by
// CR LF. A line ends at CR LF, at a lone CR or at a lone LF; the last line needs no line end. A map
// with a NUL byte is refused and left alone.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/chunked_file_system.h"
#include "fuzz/fuzz_check.h"
#include "stripper/line_filter.h"
#include "stripper/map_version_stripper.h"

namespace {

bool ReferenceHoldsKey(std::string_view line) {
  return fuzz::AsciiLower(line).find("mapversion") != std::string::npos;
}

std::string ReferenceRewrite(std::string_view map) {
  std::string rewritten;
  std::string line;
  const auto keep = [&] {
    if (!ReferenceHoldsKey(line)) {
      rewritten += line + "\r\n";
    }
    line.clear();
  };
  for (std::size_t i = 0; i < map.size(); ++i) {
    if (map[i] == '\r' || map[i] == '\n') {
      if (map[i] == '\r' && i + 1 < map.size() && map[i + 1] == '\n') {
        ++i;
      }
      keep();
    } else {
      line += map[i];
    }
  }
  if (!line.empty()) {
    keep();
  }
  return rewritten;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string_view map(reinterpret_cast<const char*>(data) + 1, size - 1);
  fuzz::Require(stripper::HoldsMapVersion(map) == ReferenceHoldsKey(map),
                "the filter finds \"mapversion\" in any letter case and nothing else");

  fuzz::ChunkedFileSystem fs(1 + data[0] % 32);
  fs.files["x.map"].assign(map.begin(), map.end());
  if (map.find('\0') != std::string_view::npos) {
    bool refused = false;
    try {
      stripper::MapVersionStripper("x.map", fs);
    } catch (const stripper::StripFailure&) {
      refused = true;
    }
    fuzz::Require(refused && fs.files.size() == 1 &&
                      std::string_view(fs.files["x.map"].data(), fs.files["x.map"].size()) == map,
                  "a map with a NUL byte is refused and left as it was");
    return 0;
  }
  stripper::MapVersionStripper("x.map", fs);

  const std::string expected = ReferenceRewrite(map);
  fuzz::Require(fs.files.size() == 1 && fs.files.contains("x.map"),
                "only the rewritten map is left");
  fuzz::Require(std::string_view(fs.files["x.map"].data(), fs.files["x.map"].size()) == expected,
                "the rewritten map holds exactly the input's lines without the key lines");
  return 0;
}
