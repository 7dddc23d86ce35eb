#include "platform/posix/folder_index.h"

#include <dirent.h>
#include <time.h>

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/posix/name_rules.h"

namespace platform::posix {

namespace {

// A folder's mtime ticks with the kernel's coarse clock, so a change made in the same tick as an
// earlier one leaves the mtime as it was. An index read within this margin of the folder's mtime
// is not trusted later; the folder is read again until its mtime lies safely in the past.
constexpr std::int64_t kRacyMarginNs = 50'000'000;
// Enough for the handful of folders a run works in; beyond that the cache starts afresh.
constexpr std::size_t kMaxFolders = 64;

std::int64_t Nanoseconds(const struct timespec& t) {
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

struct FolderNames {
  std::int64_t mtimeNs = 0;
  bool trusted = false;
  std::unordered_map<std::string, std::string> byFoldedName;
};

using FolderKey = std::pair<dev_t, ino_t>;

std::map<FolderKey, FolderNames>& Cache() {
  static std::map<FolderKey, FolderNames> cache;
  return cache;
}

bool ReadFolder(const std::string& folder, std::int64_t mtimeNs, FolderNames& names) {
  struct timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    return false;
  }
  names.mtimeNs = mtimeNs;
  names.trusted = mtimeNs < Nanoseconds(now) - kRacyMarginNs;
  names.byFoldedName.clear();
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") {
      continue;
    }
    auto [it, inserted] = names.byFoldedName.try_emplace(FoldCase(name), name);
    if (!inserted && name < it->second) {
      it->second = name;
    }
  }
  closedir(dir);
  return true;
}

}  // namespace

bool FindCaseVariant(const std::string& folder, const struct stat& folderStatus,
                     const std::string& name, std::string& onDisk) {
  auto& cache = Cache();
  const FolderKey key{folderStatus.st_dev, folderStatus.st_ino};
  const std::int64_t mtimeNs = Nanoseconds(folderStatus.st_mtim);
  auto it = cache.find(key);
  if (it == cache.end() || !it->second.trusted || it->second.mtimeNs != mtimeNs) {
    if (it == cache.end() && cache.size() >= kMaxFolders) {
      cache.clear();
    }
    FolderNames names;
    if (!ReadFolder(folder, mtimeNs, names)) {
      return false;
    }
    it = cache.insert_or_assign(key, std::move(names)).first;
  }
  const auto found = it->second.byFoldedName.find(FoldCase(name));
  if (found == it->second.byFoldedName.end()) {
    return false;
  }
  onDisk = found->second;
  return true;
}

}  // namespace platform::posix
