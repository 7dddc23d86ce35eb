#pragma once

// A file system in memory that can be told to fail, for the paths of a run that a real disk
// rarely takes: a write that fails half-way, a rename that fails.

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace test_support {

class MemoryFileSystem : public platform::FileSystem {
 public:
  static constexpr platform::Error kNotFound = 2;
  static constexpr platform::Error kExists = 17;
  static constexpr platform::Error kNoSpace = 28;

  std::map<std::string, std::vector<char>> files;
  std::size_t writeLimit = static_cast<std::size_t>(-1);   // bytes a file may take before kNoSpace
  std::size_t readAtLimit = static_cast<std::size_t>(-1);  // ReadAt finds a file's end here
  bool failRename = false;

  platform::Error ModificationTime(const std::string& path, double& oleDate) override;
  platform::Error Length(const std::string& path, std::int64_t& length) override;
  platform::Error Delete(const std::string& path) override {
    return files.erase(path) == 1 ? 0 : kNotFound;
  }
  platform::Error Rename(const std::string& from, const std::string& to) override;
  platform::Error MakeFolder(const std::string&) override { return kExists; }
  platform::Error OpenRead(const std::string& path, platform::File& file) override;
  platform::Error Create(const std::string& path, platform::File& file) override;
  platform::Error CreateNew(const std::string& path, platform::File& file) override {
    return files.contains(path) ? kExists : Create(path, file);
  }
  platform::Error Inspect(const std::string& path, platform::FileFacts& facts) override;
  platform::Error NamesLike(const std::string& path, std::vector<std::string>& names) override;
  platform::Error CopySettings(platform::File, platform::File) override { return 0; }
  platform::Error Truncate(platform::File file, std::int64_t length) override;
  platform::Error Read(platform::File file, char* buffer, std::size_t size,
                       std::size_t& got) override;
  platform::Error ReadAt(platform::File file, std::int64_t offset, char* buffer, std::size_t size,
                         std::size_t& got) override;
  platform::Error Write(platform::File file, const char* data, std::size_t size) override;
  platform::Error Sync(platform::File) override { return 0; }
  platform::Error Close(platform::File& file) override;
  platform::Error List(const std::string& folder, const std::string& pattern,
                       std::vector<std::string>& names, std::size_t& leftOut) override;

 private:
  struct Open {
    std::string path;
    std::size_t position = 0;
  };
  std::map<std::intptr_t, Open> open_;
  std::intptr_t nextHandle_ = 1;
};

}  // namespace test_support
