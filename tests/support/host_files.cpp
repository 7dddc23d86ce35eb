#include "tests/support/host_files.h"

#include <fstream>
#include <sstream>

namespace test_support {

void WriteHostFile(const std::filesystem::path& path, const std::string& content) {
  if (path.has_parent_path()) {
    std::filesystem::create_directories(path.parent_path());
  }
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

std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      contents[entry.path().lexically_relative(folder).generic_string()] =
          ReadHostFile(entry.path());
    }
  }
  return contents;
}

}  // namespace test_support
