#include "tests/support/host_files.h"

#include <fstream>
#include <sstream>

namespace test_support {

void WriteHostFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return "<missing>";
  }
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace test_support
