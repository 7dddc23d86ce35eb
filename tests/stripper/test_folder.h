#pragma once

// A fresh folder of its own for each test (tests run in parallel), and whole-file helpers.

#include <filesystem>
#include <map>
#include <string>

namespace stripper_test {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
// Every regular file below `folder`, by its path relative to `folder`, with its content.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder);

}  // namespace stripper_test
