#include "platform/posix/file_facts.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/common/name_rules.h"
#include "platform/posix/current_folder.h"

namespace platform::posix {

Error InspectFile(const std::string& path, FileFacts& facts) {
  HostLocation location;
  if (const Error error = LocateFromCurrent(path, Lookup::kExisting, location); error != 0) {
    return error;
  }
  const mode_t mode = location.status.st_mode;
  facts.kind = S_ISREG(mode)   ? FileKind::kRegular
               : S_ISDIR(mode) ? FileKind::kFolder
                               : FileKind::kOther;
  // As Delete and Create judge it: Windows' read-only attribute has no owner, so neither has this.
  facts.readOnly = (mode & S_IWUSR) == 0;
  return 0;
}

Error NamesLike(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  HostLocation location;
  if (const Error error = LocateFromCurrent(path, Lookup::kForCreate, location); error != 0) {
    return error;
  }
  if (location.names.empty()) {
    return EINVAL;
  }
  // The last name is the one given or a case variant of it; either folds to the same.
  const std::string folded = common::FoldCase(location.names.back());
  location.names.pop_back();
  DIR* folder = opendir(JoinHost(location.root, location.names).c_str());
  if (folder == nullptr) {
    return errno;
  }
  errno = 0;
  while (const dirent* entry = readdir(folder)) {
    if (common::FoldCase(entry->d_name) == folded) {
      names.emplace_back(entry->d_name);
    }
    errno = 0;
  }
  const Error error = errno;
  closedir(folder);
  if (error != 0) {
    names.clear();
    return error;
  }
  std::sort(names.begin(), names.end());
  return 0;
}

Error CreateNew(const std::string& path, int& descriptor) {
  HostLocation location;
  if (const Error error = LocateFromCurrent(path, Lookup::kForCreate, location); error != 0) {
    return error;
  }
  // O_EXCL fails on anything at the name, a link leading nowhere included; the lookup above has
  // put a case variant's name there if one exists.
  const int opened = open(location.host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (opened < 0) {
    return errno;
  }
  descriptor = opened;
  return 0;
}

Error CopySettings(int from, int to) {
  struct stat source {};
  struct stat target {};
  if (fstat(from, &source) != 0 || fstat(to, &target) != 0) {
    return errno;
  }
  // The owner first: giving a file away clears its set-user-ID and set-group-ID bits.
  if ((source.st_uid != target.st_uid || source.st_gid != target.st_gid) &&
      fchown(to, source.st_uid, source.st_gid) != 0) {
    return errno;
  }
  return fchmod(to, source.st_mode & 07777) == 0 ? 0 : errno;
}

Error Truncate(int descriptor, std::int64_t length) {
  if (ftruncate(descriptor, length) != 0 || lseek(descriptor, length, SEEK_SET) < 0) {
    return errno;
  }
  return 0;
}

}  // namespace platform::posix
