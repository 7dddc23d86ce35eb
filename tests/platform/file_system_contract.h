#pragma once

// What every platform::FileSystem does alike: the POSIX one (below a Wine prefix), the Win32 one
// and the kit's memory fake; NativeContract adds drives, the current folder and the clock for the
// first two. What only one of them does is tested beside it.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace platform_contract {

// Creates or empties the file at `path` and writes `content` into it.
platform::Error PutFile(platform::FileSystem& fs, const std::string& path,
                        const std::string& content);
// The whole file at `path`, or "<error N>".
std::string GetFile(platform::FileSystem& fs, const std::string& path);

// An implementation with an empty folder of its own, for one test.
class FileSystemUnderTest {
 public:
  virtual ~FileSystemUnderTest() = default;
  virtual platform::FileSystem& fs() = 0;
  // The folder as the implementation names it, without a trailing separator.
  virtual std::string Folder() const = 0;
  // The root of a drive other than Folder()'s, such as "D:\\"; empty where there is none.
  virtual std::string OtherDriveRoot() const { return ""; }
};

struct FileSystemKind {
  std::string name;
  std::function<std::unique_ptr<FileSystemUnderTest>()> make;
  // The memory fake knows files only, by names that tell letter case apart.
  bool hasFolders = true;
  bool ignoresLetterCase = true;
  friend void PrintTo(const FileSystemKind& kind, std::ostream* out) { *out << kind.name; }
};

class FileSystemContract : public testing::TestWithParam<FileSystemKind> {
 protected:
  void SetUp() override { subject_ = GetParam().make(); }
  platform::FileSystem& fs() { return subject_->fs(); }
  std::string Folder() const { return subject_->Folder(); }
  std::string At(const std::string& name) const { return Folder() + "\\" + name; }
  platform::Error Put(const std::string& name, const std::string& content) {
    return PutFile(fs(), At(name), content);
  }
  std::string Get(const std::string& name) { return GetFile(fs(), At(name)); }
  std::unique_ptr<FileSystemUnderTest> subject_;
};

class NativeContract : public FileSystemContract {};

inline std::string KindName(const testing::TestParamInfo<FileSystemKind>& info) {
  return info.param.name;
}

}  // namespace platform_contract
