#include "tests/platform_win32/scratch_folder.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace platform_win32_tests {

ScratchFolder::ScratchFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("korvane-win32-" + std::to_string(random()));
    if (std::filesystem::create_directory(folder)) {
      path_ = folder.string() + "\\";
      return;
    }
  }
  throw std::runtime_error("no free name for a scratch folder");
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(host(), ignored);
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return "<missing>";
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWhole(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

}  // namespace platform_win32_tests
