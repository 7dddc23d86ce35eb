// Where a drive letter comes from, and how to link folders, told in the terms of a Wine prefix.

#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "platform/common/ascii.h"
#include "platform/platform.h"
#include "platform/posix/drives.h"

namespace platform {

namespace {

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

bool IsFolder(const std::string& host) {
  struct stat status {};
  return stat(host.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::string DriveOrigin(char letter) {
  std::string prefix;
  bool configured = false;
  const std::string drive = std::string(1, letter) + ":";
  if (!posix::WinePrefix(prefix, configured)) {
    return "drive " + drive + " needs a Wine prefix, but neither WINEPREFIX nor HOME is set";
  }
  std::string origin = "drive " + drive;
  std::string root;
  if (posix::DriveRoot(letter, root) == 0) {
    origin += " is " + root;
  } else {
    origin += " is not mapped";
  }
  origin += " in the Wine prefix " + prefix;
  origin += configured ? " (from WINEPREFIX)" : " (the default ~/.wine, as WINEPREFIX is not set)";
  if (!IsFolder(prefix)) {
    origin += ", which does not exist";
  }
  return origin;
}

std::string FolderLinkCommand(const std::string& link, const std::string& target) {
  std::string hostLink;
  std::string hostTarget;
  if (HostPath(link, hostLink) != 0 || HostPath(target, hostTarget) != 0) {
    return "a symbolic link from " + link + " to " + target;
  }
  const std::string parent = hostLink.substr(0, hostLink.find_last_of('/'));
  return "mkdir -p " + ShellQuoted(parent) + " && ln -s " + ShellQuoted(hostTarget) + " " +
         ShellQuoted(hostLink);
}

std::string MakeFolderCommand(const std::string& path) {
  std::string host;
  if (HostPath(path, host) == 0) {
    return "mkdir -p " + ShellQuoted(host);
  }
  // A prefix without its drive c: gets one where Wine makes it.
  std::string prefix;
  bool configured = false;
  if (path.size() < 3 || platform::ascii::Lower(path[0]) != 'c' || path[1] != ':' ||
      !posix::WinePrefix(prefix, configured)) {
    return "a folder " + path;
  }
  host = prefix + "/drive_c" + path.substr(2);
  std::replace(host.begin(), host.end(), '\\', '/');
  return "mkdir -p " + ShellQuoted(host);
}

}  // namespace platform
