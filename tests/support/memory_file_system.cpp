#include "tests/support/memory_file_system.h"

#include <algorithm>

#include "platform/common/ascii.h"
#include "platform/common/name_rules.h"

namespace test_support {

platform::Error MemoryFileSystem::ModificationTime(const std::string& path, double& oleDate) {
  oleDate = 45000.0;
  return files.contains(path) ? 0 : kNotFound;
}

platform::Error MemoryFileSystem::Length(const std::string& path, std::int64_t& length) {
  if (!files.contains(path)) {
    return kNotFound;
  }
  length = static_cast<std::int64_t>(files[path].size());
  return 0;
}

platform::Error MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  if (!files.contains(from)) {
    return kNotFound;
  }
  if (failRename || files.contains(to)) {
    return kExists;
  }
  files[to] = std::move(files[from]);
  files.erase(from);
  return 0;
}

platform::Error MemoryFileSystem::OpenRead(const std::string& path, platform::File& file) {
  if (!files.contains(path)) {
    return kNotFound;
  }
  file.handle = nextHandle_++;
  open_[file.handle] = {path, 0};
  return 0;
}

platform::Error MemoryFileSystem::Create(const std::string& path, platform::File& file) {
  files[path].clear();
  file.handle = nextHandle_++;
  open_[file.handle] = {path, 0};
  return 0;
}

platform::Error MemoryFileSystem::Inspect(const std::string& path, platform::FileFacts& facts) {
  facts = {.kind = platform::FileKind::kRegular, .readOnly = false};
  return files.contains(path) ? 0 : kNotFound;
}

// Files here are known by their whole paths, which tell letter case apart.
platform::Error MemoryFileSystem::NamesLike(const std::string& path,
                                            std::vector<std::string>& names) {
  names.clear();
  for (const auto& [name, contents] : files) {
    if (platform::ascii::SameIgnoringCase(name, path)) {
      names.push_back(name.substr(name.find_last_of("\\/") + 1));
    }
  }
  return 0;
}

platform::Error MemoryFileSystem::Truncate(platform::File file, std::int64_t length) {
  files.at(open_.at(file.handle).path).resize(static_cast<std::size_t>(length));
  return 0;
}

platform::Error MemoryFileSystem::Read(platform::File file, char* buffer, std::size_t size,
                                       std::size_t& got) {
  Open& open = open_.at(file.handle);
  const std::vector<char>& data = files.at(open.path);
  got = std::min(size, data.size() - open.position);
  std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(open.position), got, buffer);
  open.position += got;
  return 0;
}

platform::Error MemoryFileSystem::ReadAt(platform::File file, std::int64_t offset, char* buffer,
                                         std::size_t size, std::size_t& got) {
  const std::vector<char>& data = files.at(open_.at(file.handle).path);
  const std::size_t end = std::min(data.size(), readAtLimit);
  const auto at = std::min(static_cast<std::size_t>(offset), end);
  got = std::min(size, end - at);
  std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), got, buffer);
  return 0;
}

platform::Error MemoryFileSystem::Write(platform::File file, const char* data, std::size_t size) {
  std::vector<char>& contents = files.at(open_.at(file.handle).path);
  if (contents.size() + size > writeLimit) {
    contents.insert(contents.end(), data, data + (writeLimit - contents.size()));
    return kNoSpace;
  }
  contents.insert(contents.end(), data, data + size);
  return 0;
}

platform::Error MemoryFileSystem::Close(platform::File& file) {
  open_.erase(file.handle);
  file.handle = -1;
  return 0;
}

// The folder holds the files whose whole paths are its path, a separator and a bare name.
platform::Error MemoryFileSystem::List(const std::string& folder, const std::string& pattern,
                                       std::vector<std::string>& names, std::size_t& leftOut) {
  names.clear();
  leftOut = 0;
  const std::string prefix = folder.empty() || folder.ends_with('\\') ? folder : folder + "\\";
  for (const auto& [path, contents] : files) {
    const std::string name = path.substr(path.find_last_of("\\/") + 1);
    if (path.size() == prefix.size() + name.size() && path.starts_with(prefix) &&
        platform::common::MatchesPattern(name, pattern)) {
      names.push_back(name);
    }
  }
  platform::common::SortForListing(names);
  return 0;
}

}  // namespace test_support
