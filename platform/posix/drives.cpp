#include "platform/posix/drives.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform::posix {

namespace {

// Where the dosdevices entry leads: a link's target (a relative one taken from dosdevices/), or the
// entry itself when it is a plain folder. Whether that folder exists is left to the lookups below
// it, which report a missing drive root as an unmapped drive.
bool DosDeviceFolder(const std::string& dosdevices, char letter, std::string& folder) {
  const std::string entry = dosdevices + "/" + std::string(1, letter) + ":";
  char target[4096];
  const ssize_t length = readlink(entry.c_str(), target, sizeof target);
  if (length > 0 && static_cast<std::size_t>(length) < sizeof target) {
    folder.assign(target, static_cast<std::size_t>(length));
    // Wine links c: to "../drive_c": named from the prefix, the path reads as the user knows it.
    struct stat status {};
    const bool plainFolder = lstat(dosdevices.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    if (folder.starts_with("../") && plainFolder) {
      folder = dosdevices.substr(0, dosdevices.rfind('/') + 1) + folder.substr(3);
    } else if (folder.front() != '/') {
      folder = dosdevices + "/" + folder;
    }
  } else if (length < 0 && errno == EINVAL) {
    folder = entry;
  } else {
    return false;
  }
  while (folder.size() > 1 && folder.back() == '/') {
    folder.pop_back();
  }
  return true;
}

}  // namespace

bool WinePrefix(std::string& prefix, bool& configured) {
  const char* named = std::getenv("WINEPREFIX");
  configured = named != nullptr && *named != '\0';
  if (configured) {
    prefix = named;
    return true;
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    return false;
  }
  prefix = std::string(home) + "/.wine";
  return true;
}

Error DriveRoot(char letter, std::string& root) {
  if (letter >= 'A' && letter <= 'Z') {
    letter = static_cast<char>(letter - 'A' + 'a');
  }
  std::string prefix;
  bool configured = false;
  if (letter < 'a' || letter > 'z' || !WinePrefix(prefix, configured)) {
    return ENODEV;
  }
  const std::string dosdevices = prefix + "/dosdevices";
  if (DosDeviceFolder(dosdevices, letter, root)) {
    return 0;
  }
  if (letter == 'c') {
    root = prefix + "/drive_c";
    return 0;
  }
  return ENODEV;
}

}  // namespace platform::posix
