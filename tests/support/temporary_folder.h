#pragma once

// A fresh folder of its own for each test (tests run in parallel), removed afterwards.

#include <filesystem>
#include <string>

namespace test_support {

class TemporaryFolder {
 public:
  // `kind` starts the folder's name, to tell whose it is.
  explicit TemporaryFolder(const std::string& kind = "korvane-test");
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace test_support
