#include "platform/posix/host_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/posix/drives.h"
#include "platform/posix/folder_index.h"
#include "platform/posix/name_rules.h"

namespace platform::posix {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char UpperCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':';
}

bool HasForbiddenCharacter(const std::string& path) {
  for (std::size_t i = HasDrive(path) ? 2 : 0; i < path.size(); ++i) {
    if (IsForbiddenInName(path[i])) {
      return true;
    }
  }
  return false;
}

// Adds the names of `text` to `names`, dropping "." and letting ".." undo one name (never going
// above the root, as on Windows).
void AppendNames(const std::string& text, std::vector<std::string>& names) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = start;
    while (end < text.size() && !IsSeparator(text[end])) {
      ++end;
    }
    const std::string name = text.substr(start, end - start);
    if (name == "..") {
      if (!names.empty()) {
        names.pop_back();
      }
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    start = end + 1;
  }
}

Error HostWorkingFolder(std::vector<std::string>& names) {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) {
      return errno;
    }
    buffer.resize(buffer.size() * 2);
  }
  AppendNames(buffer.data(), names);
  return 0;
}

std::string Child(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// Walks the names from the root one level at a time, replacing each missing name by a case
// variant found on disk.
Error MatchNames(HostLocation& location, Lookup lookup) {
  struct stat folderStatus {};
  if (stat(location.root.c_str(), &folderStatus) != 0) {
    return errno;
  }
  std::string folder = location.root;
  for (std::size_t i = 0; i < location.names.size(); ++i) {
    std::string& name = location.names[i];
    const bool last = i + 1 == location.names.size();
    std::string child = Child(folder, name);
    std::string onDisk;
    struct stat status {};
    if (stat(child.c_str(), &status) != 0) {
      if (errno != ENOENT) {
        return errno;
      }
      if (FindCaseVariant(folder, folderStatus, name, onDisk)) {
        name = onDisk;
        child = Child(folder, name);
        if (stat(child.c_str(), &status) != 0) {
          return errno;
        }
      } else if (lookup == Lookup::kAsFarAsItExists || (lookup == Lookup::kForCreate && last)) {
        location.host = JoinHost(location.root, location.names);
        return 0;
      } else {
        return ENOENT;
      }
    }
    if (!last && !S_ISDIR(status.st_mode)) {
      return ENOTDIR;
    }
    folder = std::move(child);
    folderStatus = status;
  }
  location.host = std::move(folder);
  return 0;
}

}  // namespace

std::string JoinHost(const std::string& root, const std::vector<std::string>& names) {
  std::string host = root;
  for (const std::string& name : names) {
    host = Child(host, name);
  }
  return host;
}

Error Locate(const FolderState& state, const std::string& path, Lookup lookup,
             HostLocation& location) {
  if (path.empty()) {
    return ENOENT;
  }
  if (HasForbiddenCharacter(path)) {
    return EINVAL;
  }
  location = HostLocation{};
  std::string rest = path;
  bool fromRoot = false;
  if (HasDrive(path)) {
    location.drive = UpperCase(path[0]);
    rest = path.substr(2);
    fromRoot = !rest.empty() && IsSeparator(rest.front());
  } else if (path.front() == '/') {
    fromRoot = true;
  } else {
    location.drive = state.drive;
    fromRoot = path.front() == '\\';
  }
  if (location.drive == 0) {
    location.root.assign(1, '/');
    if (!fromRoot) {
      if (const Error error = HostWorkingFolder(location.names); error != 0) {
        return error;
      }
    }
  } else {
    if (const Error error = DriveRoot(location.drive, location.root); error != 0) {
      return error;
    }
    if (!fromRoot) {
      location.names = state.folderOfDrive[static_cast<std::size_t>(location.drive - 'A')];
    }
  }
  AppendNames(rest, location.names);

  // Most names are found as given: one stat settles them.
  location.host = JoinHost(location.root, location.names);
  struct stat status {};
  if (stat(location.host.c_str(), &status) == 0) {
    return 0;
  }
  if (errno != ENOENT) {
    return errno;
  }
  return MatchNames(location, lookup);
}

}  // namespace platform::posix
