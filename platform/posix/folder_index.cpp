#include "platform/posix/folder_index.h"

#include <dirent.h>
#include <time.h>

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/common/name_rules.h"

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
  std::unordered_set<std::string> names;
  // For each folded name, the first name in byte order that folds to it.
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
  names.names.clear();
  names.byFoldedName.clear();
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") {
      continue;
    }
    names.names.insert(name);
    auto [it, inserted] = names.byFoldedName.try_emplace(common::FoldCase(name), name);
    if (!inserted && name < it->second) {
      it->second = name;
    }
  }
  closedir(dir);
  return true;
}

bool IsCurrent(const FolderNames& names, const struct stat& folderStatus) {
  return names.trusted && names.mtimeNs == Nanoseconds(folderStatus.st_mtim);
}

FolderKey KeyOf(const struct stat& folderStatus) {
  return {folderStatus.st_dev, folderStatus.st_ino};
}

bool FindFolded(const FolderNames& names, const std::string& name, std::string& onDisk) {
  const auto found = names.byFoldedName.find(common::FoldCase(name));
  if (found == names.byFoldedName.end()) {
    return false;
  }
  onDisk = found->second;
  return true;
}

}  // namespace

NameMatch MatchRemembered(const struct stat& folderStatus, const std::string& name,
                          std::string& onDisk) {
  const auto& cache = Cache();
  const auto it = cache.find(KeyOf(folderStatus));
  if (it == cache.end() || !IsCurrent(it->second, folderStatus)) {
    return NameMatch::kUnknown;
  }
  if (it->second.names.contains(name)) {
    onDisk = name;
    return NameMatch::kFound;
  }
  return FindFolded(it->second, name, onDisk) ? NameMatch::kFound : NameMatch::kMissing;
}

bool FindCaseVariant(const std::string& folder, const struct stat& folderStatus,
                     const std::string& name, std::string& onDisk) {
  auto& cache = Cache();
  auto it = cache.find(KeyOf(folderStatus));
  if (it == cache.end() || !IsCurrent(it->second, folderStatus)) {
    if (it == cache.end() && cache.size() >= kMaxFolders) {
      cache.clear();
    }
    FolderNames names;
    if (!ReadFolder(folder, Nanoseconds(folderStatus.st_mtim), names)) {
      return false;
    }
    it = cache.insert_or_assign(KeyOf(folderStatus), std::move(names)).first;
  }
  return FindFolded(it->second, name, onDisk);
}

}  // namespace platform::posix
