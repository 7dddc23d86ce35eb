#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace platform_tests {

// A fresh WINEPREFIX per test, with drive c: as its drive_c folder. The process's working folder
// and environment are restored afterwards.
class WinePrefixTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The host path of `path` ("/"-separated) below drive_c.
  std::string OnC(const std::string& path) const;
  // Creates the host file `path` below drive_c (and its folders) holding `content`.
  void MakeFile(const std::string& path, const std::string& content = "") const;
  void MakeFolder(const std::string& path) const;
  // The content of a host file, or "<missing>".
  static std::string Content(const std::string& hostPath);

  std::filesystem::path prefix_;

 private:
  std::filesystem::path startFolder_;
};

}  // namespace platform_tests
