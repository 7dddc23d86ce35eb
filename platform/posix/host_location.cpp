#include "platform/posix/host_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/common/ascii.h"
#include "platform/common/name_rules.h"
#include "platform/posix/drives.h"
#include "platform/posix/folder_index.h"

namespace platform::posix {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

using ascii::IsLetter;
using ascii::Upper;

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':';
}

bool HasForbiddenCharacter(const std::string& path) {
  for (std::size_t i = HasDrive(path) ? 2 : 0; i < path.size(); ++i) {
    if (common::IsForbiddenInName(path[i])) {
      return true;
    }
  }
  return false;
}

// Adds the names of `text` to `names`, dropping "." and letting ".." undo one name (never going
// above the root, as on Windows). In a path the programs gave (`asWindows`), the last name loses
// its trailing spaces and dots, as Windows drops them; a host folder keeps its names as they are.
void AppendNames(const std::string& text, std::vector<std::string>& names, bool asWindows) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = start;
    while (end < text.size() && !IsSeparator(text[end])) {
      ++end;
    }
    std::string name = text.substr(start, end - start);
    if (asWindows && end == text.size()) {
      name = common::WithoutTrailingDotsAndSpaces(name);
    }
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
  AppendNames(buffer.data(), names, false);
  return 0;
}

std::string Child(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// The number of leading names of `names` that equal, ignoring letter case, those of `known` (a
// folder known to exist with that letter case); those names take the case of `known`.
std::size_t AdoptKnownFolder(const std::vector<std::string>& known,
                             std::vector<std::string>& names) {
  std::size_t count = 0;
  while (count < known.size() && count < names.size() &&
         (names[count] == known[count] ||
          common::FoldCase(names[count]) == common::FoldCase(known[count]))) {
    names[count] = known[count];
    ++count;
  }
  return count;
}

// Walks the names one level at a time, replacing each missing name by a case variant found on
// disk. The first `settled` names are known to be right; the walk starts below them.
Error MatchNames(HostLocation& location, Lookup lookup, std::size_t settled) {
  const std::vector<std::string> settledNames(location.names.begin(),
                                              location.names.begin() + settled);
  std::string folder = JoinHost(location.root, settledNames);
  struct stat folderStatus {};
  if (stat(folder.c_str(), &folderStatus) != 0) {
    // The known folder has gone since; start again from the root.
    settled = 0;
    folder = location.root;
    if (stat(folder.c_str(), &folderStatus) != 0) {
      return location.drive != 0 ? ENODEV : errno;
    }
  }
  for (std::size_t i = settled; i < location.names.size(); ++i) {
    std::string& name = location.names[i];
    const bool last = i + 1 == location.names.size();
    std::string onDisk;
    struct stat status {};
    // A folder whose names are remembered needs no failing stat() to find a name's letter case.
    NameMatch match = MatchRemembered(folderStatus, name, onDisk);
    bool haveStatus = false;
    if (match == NameMatch::kUnknown) {
      if (stat(Child(folder, name).c_str(), &status) == 0) {
        onDisk = name;
        match = NameMatch::kFound;
        haveStatus = true;
      } else if (errno != ENOENT) {
        return errno;
      } else {
        match = FindCaseVariant(folder, folderStatus, name, onDisk) ? NameMatch::kFound
                                                                    : NameMatch::kMissing;
      }
    }
    if (match == NameMatch::kMissing) {
      if (lookup == Lookup::kAsFarAsItExists || (lookup == Lookup::kForCreate && last)) {
        location.host = JoinHost(location.root, location.names);
        return 0;
      }
      return ENOENT;
    }
    name = onDisk;
    std::string child = Child(folder, name);
    if (!haveStatus && stat(child.c_str(), &status) != 0) {
      // A link that leads nowhere can still be replaced by a new file of its name.
      if (errno == ENOENT && last && lookup != Lookup::kExisting) {
        location.host = JoinHost(location.root, location.names);
        return 0;
      }
      return errno;
    }
    if (!last && !S_ISDIR(status.st_mode)) {
      return ENOTDIR;
    }
    folder = std::move(child);
    folderStatus = status;
  }
  location.host = std::move(folder);
  location.exists = true;
  location.status = folderStatus;
  return 0;
}

// A path that ends in a separator names a folder. Windows refuses it for a file; a new name so
// written keeps its separator on the host, where only a folder can be made.
Error RequireFolder(const std::string& path, HostLocation& location) {
  const bool endsInSeparator = IsSeparator(path.back()) && !location.names.empty();
  if (!endsInSeparator) {
    return 0;
  }
  if (location.exists) {
    return S_ISDIR(location.status.st_mode) ? 0 : ENOTDIR;
  }
  location.host += '/';
  return 0;
}

Error LocateNames(const FolderState& state, const std::string& path, Lookup lookup,
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
    location.drive = Upper(path[0]);
    rest = path.substr(2);
    fromRoot = !rest.empty() && IsSeparator(rest.front());
  } else if (path.front() == '/') {
    fromRoot = true;
  } else {
    location.drive = state.drive;
    fromRoot = path.front() == '\\';
  }
  std::vector<std::string> known;
  if (location.drive == 0) {
    location.root.assign(1, '/');
    if (!fromRoot) {
      if (const Error error = HostWorkingFolder(known); error != 0) {
        return error;
      }
      location.names = known;
    }
  } else {
    if (const Error error = DriveRoot(location.drive, location.root); error != 0) {
      return error;
    }
    known = state.folderOfDrive[static_cast<std::size_t>(location.drive - 'A')];
    if (!fromRoot) {
      location.names = known;
    }
  }
  AppendNames(rest, location.names, true);
  const std::size_t settled = AdoptKnownFolder(known, location.names);

  // Most names are found as given: one stat settles them.
  location.host = JoinHost(location.root, location.names);
  if (stat(location.host.c_str(), &location.status) == 0) {
    location.exists = true;
    return 0;
  }
  if (errno != ENOENT) {
    return errno;
  }
  return MatchNames(location, lookup, settled);
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
  if (const Error error = LocateNames(state, path, lookup, location); error != 0) {
    return error;
  }
  return RequireFolder(path, location);
}

}  // namespace platform::posix
