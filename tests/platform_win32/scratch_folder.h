#pragma once

// A fresh folder of its own for each test (tests run in parallel), removed afterwards.

#include <filesystem>
#include <string>

namespace platform_win32_tests {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder in Windows form with a trailing "\", so that names can be added to it.
  const std::string& path() const { return path_; }
  std::filesystem::path host() const { return std::filesystem::path(path_); }

 private:
  std::string path_;
};

// The whole content of a file, or "<missing>".
std::string ReadWhole(const std::string& path);
void WriteWhole(const std::string& path, const std::string& content);

}  // namespace platform_win32_tests
