// Drives are the system's own on Windows; folders are linked with a directory junction.

#include <string>

#include "platform/platform.h"

namespace platform {

std::string DriveOrigin(char /*letter*/) {
  return {};
}

std::string FolderLinkCommand(const std::string& link, const std::string& target) {
  return "mklink /J \"" + link + "\" \"" + target + "\"";
}

// cmd.exe's mkdir makes the folders above the new one as well.
std::string MakeFolderCommand(const std::string& path) {
  return "mkdir \"" + path + "\"";
}

}  // namespace platform
