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

  platform::Error ModificationTime(const std::string& path, double& oleDate) override;
  platform::Error Length(const std::string& path, std::int64_t& length) override;
  platform::Error Delete(const std::string& path) override;
  platform::Error Rename(const std::string& from, const std::string& to) override;
  platform::Error MakeFolder(const std::string& path) override;
  platform::Error OpenRead(const std::string& path, platform::File& file) override;
  platform::Error Create(const std::string& path, platform::File& file) override;
  platform::Error CreateNew(const std::string& path, platform::File& file) override;
  platform::Error Inspect(const std::string& path, platform::FileFacts& facts) override;
  platform::Error NamesLike(const std::string& path, std::vector<std::string>& names) override;
  platform::Error CopySettings(platform::File from, platform::File to) override;
  platform::Error Truncate(platform::File file, std::int64_t length) override;
  platform::Error Read(platform::File file, char* buffer, std::size_t size,
                       std::size_t& got) override;
  platform::Error ReadAt(platform::File file, std::int64_t offset, char* buffer, std::size_t size,
                         std::size_t& got) override;
  platform::Error Write(platform::File file, const char* data, std::size_t size) override;
  platform::Error Sync(platform::File file) override;
  platform::Error Close(platform::File& file) override;
  platform::Error List(const std::string& folder, const std::string& pattern,
                       std::vector<std::string>& names) override;

 private:
  bool Fails(const char* operation);
  platform::Error Opened(platform::Error error, const platform::File& file);

  platform::FileSystem& inner_;
  std::function<bool(int)> fails_;
  std::vector<std::string> calls_;
  std::set<std::intptr_t> open_;
};

}  // namespace test_support
