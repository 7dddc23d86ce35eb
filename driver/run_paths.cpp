#include "driver/run_paths.h"

#include "core/paths.h"
#include "platform/platform.h"

namespace driver {

namespace {

std::string CurrentFolderWithSlash() {
  return core::PathWithTrailingSlash(platform::CurrentFolder());
}

}  // namespace

std::string LogsFolder() {
  return CurrentFolderWithSlash() + "logs";
}

std::string ConversionBatch() {
  return CurrentFolderWithSlash() + "2hlwad.bat";
}

WadPaths PathsOfWad(const std::string& listedName) {
  const std::string folder = CurrentFolderWithSlash();
  const std::string stem = core::NameWithoutExtension(listedName);
  const std::string logs = core::PathWithTrailingSlash(folder + "logs");
  return WadPaths{
      .wadFile = folder + listedName,
      .hlwadFile = folder + stem + ".hlwad",
      .stampFile = logs + stem + ".stmp",
      .conversionLog = logs + stem + ".log",
      .batchLogName = core::PathWithTrailingSlash("logs") + stem + ".log",
  };
}

}  // namespace driver
