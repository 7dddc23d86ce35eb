#pragma once

// The state of a file list control, shared by the window implementations: the folder and pattern
// it is pointed at and the names found by its last re-read.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace window {

struct FileList {
  std::string folder;
  std::string pattern;
  std::vector<std::string> names;
};

// Fills `list.names` from the folder listing; a folder that cannot be listed gives no names.
void RereadFileList(FileList& list, platform::FileSystem& fileSystem);

// The item at `index`, or the empty string outside 0 .. count - 1.
std::string ItemAt(const std::vector<std::string>& items, std::int32_t index);

// The number of items as the controls report it.
std::int32_t ItemCount(const std::vector<std::string>& items);

}  // namespace window
