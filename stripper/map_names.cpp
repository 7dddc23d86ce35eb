#include "stripper/map_names.h"

#include "core/paths.h"
#include "core/text.h"

namespace stripper {

namespace {

constexpr char kQuote[] = "\"";
constexpr char kDefaultExtension[] = ".map";
constexpr char kBackupExtension[] = ".bkr";
constexpr char kTemporaryExtension[] = ".bkr.tmp";

// Length of the folder part, its last separator included; 0 for a bare name.
std::size_t FolderPartLength(const std::string& name) {
  const auto separator = name.find_last_of("\\/");
  return separator == std::string::npos ? 0 : separator + 1;
}

// The file name the way Windows stores it: trailing spaces and dots are dropped, and letter case
// does not count.
std::string ComparableFileName(std::string name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) {
    name.pop_back();
  }
  core::LowerCaseInPlace(name);
  return name;
}

}  // namespace

std::string UnquotedArgument(const std::string& argumentText) {
  return core::TextWithoutEnclosingDelimiters(core::TrimSpaces(argumentText), kQuote);
}

std::string MapFileName(const std::string& argumentText) {
  std::string name = UnquotedArgument(argumentText);
  if (core::ExtensionOfName(name).empty()) {
    name += kDefaultExtension;
  }
  return name;
}

MapNames NamesOfMap(const std::string& mapFileName) {
  const std::size_t folderLength = FolderPartLength(mapFileName);
  const std::string folder = mapFileName.substr(0, folderLength);
  const std::string stem = core::NameWithoutExtension(mapFileName.substr(folderLength));
  return {mapFileName, folder + stem + kBackupExtension, folder + stem + kTemporaryExtension};
}

bool BackupIsMapItself(const MapNames& names) {
  return ComparableFileName(names.map.substr(FolderPartLength(names.map))) ==
         ComparableFileName(names.backup.substr(FolderPartLength(names.backup)));
}

std::string WithFileName(const std::string& path, const std::string& name) {
  std::size_t folderLength = FolderPartLength(path);
  if (folderLength == 0 && path.size() >= 2 && path[1] == ':') {
    folderLength = 2;
  }
  return path.substr(0, folderLength) + name;
}

}  // namespace stripper
