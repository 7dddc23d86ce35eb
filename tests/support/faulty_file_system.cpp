#include "tests/support/faulty_file_system.h"

namespace test_support {

FaultyFileSystem::~FaultyFileSystem() {
  for (const std::intptr_t handle : open_) {
    platform::File file{handle};
    // Cleanup of files a test left open; the test has judged what it meant to.
    static_cast<void>(inner_.Close(file));
  }
}

bool FaultyFileSystem::Fails(const char* operation) {
  calls_.emplace_back(operation);
  return fails_(static_cast<int>(calls_.size()));
}

platform::Error FaultyFileSystem::Opened(platform::Error error, const platform::File& file) {
  if (error == 0) {
    open_.insert(file.handle);
  }
  return error;
}

platform::Error FaultyFileSystem::ModificationTime(const std::string& path, double& oleDate) {
  return Fails("ModificationTime") ? kInjectedError : inner_.ModificationTime(path, oleDate);
}

platform::Error FaultyFileSystem::Length(const std::string& path, std::int64_t& length) {
  return Fails("Length") ? kInjectedError : inner_.Length(path, length);
}

platform::Error FaultyFileSystem::Delete(const std::string& path) {
  return Fails("Delete") ? kInjectedError : inner_.Delete(path);
}

platform::Error FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  return Fails("Rename") ? kInjectedError : inner_.Rename(from, to);
}

platform::Error FaultyFileSystem::MakeFolder(const std::string& path) {
  return Fails("MakeFolder") ? kInjectedError : inner_.MakeFolder(path);
}

platform::Error FaultyFileSystem::OpenRead(const std::string& path, platform::File& file) {
  return Fails("OpenRead") ? kInjectedError : Opened(inner_.OpenRead(path, file), file);
}

platform::Error FaultyFileSystem::Create(const std::string& path, platform::File& file) {
  return Fails("Create") ? kInjectedError : Opened(inner_.Create(path, file), file);
}

platform::Error FaultyFileSystem::CreateNew(const std::string& path, platform::File& file) {
  return Fails("CreateNew") ? kInjectedError : Opened(inner_.CreateNew(path, file), file);
}

platform::Error FaultyFileSystem::Inspect(const std::string& path, platform::FileFacts& facts) {
  return Fails("Inspect") ? kInjectedError : inner_.Inspect(path, facts);
}

platform::Error FaultyFileSystem::NamesLike(const std::string& path,
                                            std::vector<std::string>& names) {
  return Fails("NamesLike") ? kInjectedError : inner_.NamesLike(path, names);
}

platform::Error FaultyFileSystem::CopySettings(platform::File from, platform::File to) {
  return Fails("CopySettings") ? kInjectedError : inner_.CopySettings(from, to);
}

platform::Error FaultyFileSystem::Truncate(platform::File file, std::int64_t length) {
  return Fails("Truncate") ? kInjectedError : inner_.Truncate(file, length);
}

platform::Error FaultyFileSystem::Read(platform::File file, char* buffer, std::size_t size,
                                       std::size_t& got) {
  return Fails("Read") ? kInjectedError : inner_.Read(file, buffer, size, got);
}

platform::Error FaultyFileSystem::ReadAt(platform::File file, std::int64_t offset, char* buffer,
                                         std::size_t size, std::size_t& got) {
  return Fails("ReadAt") ? kInjectedError : inner_.ReadAt(file, offset, buffer, size, got);
}

platform::Error FaultyFileSystem::Write(platform::File file, const char* data, std::size_t size) {
  return Fails("Write") ? kInjectedError : inner_.Write(file, data, size);
}

platform::Error FaultyFileSystem::Sync(platform::File file) {
  return Fails("Sync") ? kInjectedError : inner_.Sync(file);
}

platform::Error FaultyFileSystem::Close(platform::File& file) {
  if (Fails("Close")) {
    return kInjectedError;
  }
  const std::intptr_t handle = file.handle;
  const platform::Error error = inner_.Close(file);
  open_.erase(handle);
  return error;
}

platform::Error FaultyFileSystem::List(const std::string& folder, const std::string& pattern,
                                       std::vector<std::string>& names, std::size_t& leftOut) {
  return Fails("List") ? kInjectedError : inner_.List(folder, pattern, names, leftOut);
}

}  // namespace test_support
