#include "window/file_list.h"

#include <limits>

namespace window {

void RereadFileList(FileList& list, platform::FileSystem& fileSystem) {
  std::vector<std::string> names;
  if (fileSystem.List(list.folder, list.pattern, names) != 0) {
    names.clear();
  }
  list.names = std::move(names);
}

std::string ItemAt(const std::vector<std::string>& items, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
    return {};
  }
  return items[static_cast<std::size_t>(index)];
}

std::int32_t ItemCount(const std::vector<std::string>& items) {
  const std::size_t largest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(items.size() < largest ? items.size() : largest);
}

}  // namespace window
