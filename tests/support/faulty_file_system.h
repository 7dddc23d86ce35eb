#pragma once

// A file system that passes every call to another one, except the calls a test picks: those fail
// with kInjectedError and do nothing. Failing one call models an ordinary failure (disk full, no
// permission); failing a call and every later one models the program being killed there.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace test_support {

inline constexpr platform::Error kInjectedError = 5;

class FaultyFileSystem : public platform::FileSystem {
 public:
  // `fails` is asked with the 1-based number of each call.
  FaultyFileSystem(platform::FileSystem& inner, std::function<bool(int)> fails)
      : inner_(inner), fails_(std::move(fails)) {}
  // Closes what the calls under test left open, as the end of a process would.
  ~FaultyFileSystem() override;

  static std::function<bool(int)> FailOnly(int call) {
    return [call](int n) { return n == call; };
  }
  static std::function<bool(int)> FailFrom(int call) {
    return [call](int n) { return n >= call; };
  }
  static std::function<bool(int)> FailNone() {
    return [](int) { return false; };
  }

  // The operation name of every call so far, in order.
  const std::vector<std::string>& calls() const { return calls_; }

  platform::Error ModificationTime(const std::string& path, double& oleDate) override {
    return Fails("ModificationTime") ? kInjectedError : inner_.ModificationTime(path, oleDate);
  }
  platform::Error Length(const std::string& path, std::int64_t& length) override {
    return Fails("Length") ? kInjectedError : inner_.Length(path, length);
  }
  platform::Error Delete(const std::string& path) override {
    return Fails("Delete") ? kInjectedError : inner_.Delete(path);
  }
  platform::Error Rename(const std::string& from, const std::string& to) override {
    return Fails("Rename") ? kInjectedError : inner_.Rename(from, to);
  }
  platform::Error MakeFolder(const std::string& path) override {
    return Fails("MakeFolder") ? kInjectedError : inner_.MakeFolder(path);
  }
  platform::Error OpenRead(const std::string& path, platform::File& file) override {
    return Fails("OpenRead") ? kInjectedError : Opened(inner_.OpenRead(path, file), file);
  }
  platform::Error Create(const std::string& path, platform::File& file) override {
    return Fails("Create") ? kInjectedError : Opened(inner_.Create(path, file), file);
  }
  platform::Error CreateNew(const std::string& path, platform::File& file) override {
    return Fails("CreateNew") ? kInjectedError : Opened(inner_.CreateNew(path, file), file);
  }
  platform::Error Inspect(const std::string& path, platform::FileFacts& facts) override {
    return Fails("Inspect") ? kInjectedError : inner_.Inspect(path, facts);
  }
  platform::Error NamesLike(const std::string& path, std::vector<std::string>& names) override {
    return Fails("NamesLike") ? kInjectedError : inner_.NamesLike(path, names);
  }
  platform::Error CopySettings(platform::File from, platform::File to) override {
    return Fails("CopySettings") ? kInjectedError : inner_.CopySettings(from, to);
  }
  platform::Error Truncate(platform::File file, std::int64_t length) override {
    return Fails("Truncate") ? kInjectedError : inner_.Truncate(file, length);
  }
  platform::Error Read(platform::File file, char* buffer, std::size_t size,
                       std::size_t& got) override {
    return Fails("Read") ? kInjectedError : inner_.Read(file, buffer, size, got);
  }
  platform::Error ReadAt(platform::File file, std::int64_t offset, char* buffer, std::size_t size,
                         std::size_t& got) override {
    return Fails("ReadAt") ? kInjectedError : inner_.ReadAt(file, offset, buffer, size, got);
  }
  platform::Error Write(platform::File file, const char* data, std::size_t size) override {
    return Fails("Write") ? kInjectedError : inner_.Write(file, data, size);
  }
  platform::Error Sync(platform::File file) override {
    return Fails("Sync") ? kInjectedError : inner_.Sync(file);
  }
  platform::Error Close(platform::File& file) override;
  platform::Error List(const std::string& folder, const std::string& pattern,
                       std::vector<std::string>& names, std::size_t& leftOut) override {
    return Fails("List") ? kInjectedError : inner_.List(folder, pattern, names, leftOut);
  }

 private:
  bool Fails(const char* operation);
  platform::Error Opened(platform::Error error, const platform::File& file);

  platform::FileSystem& inner_;
  std::function<bool(int)> fails_;
  std::vector<std::string> calls_;
  std::set<std::intptr_t> open_;
};

}  // namespace test_support
