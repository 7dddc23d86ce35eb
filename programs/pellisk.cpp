// Pellisk: rewrites one map file without its "mapversion" lines.

#include <exception>
#include <iostream>
#include <string>

#include "core/paths.h"
#include "platform/common/command_line.h"
#include "platform/common/program_options.h"
#include "platform/platform.h"
#include "stripper/map_names.h"
#include "stripper/map_version_stripper.h"

namespace {

constexpr int kExitFailure = 1;
const platform::common::ProgramUsage kUsage{
    "pellisk", "MAPFILE",
    "Rewrites MAPFILE without every line that holds \"mapversion\" in any letter case.\n"
    "A name without any \".\" gets \".map\". The kept lines go to a new \".bkr.tmp\" file,\n"
    "which takes the map's owner, group and permissions; the map is set aside as a lower-case\n"
    "\".bkr\" backup in its own folder while the new map takes its name as it is on disk; the\n"
    "backup is deleted at the end. On failure the files are put back as they were.\n"
    "Refused before anything changes: a backup or temporary file that exists already (it may be\n"
    "a map's only copy), names that differ only in letter case, a read-only map, a file with\n"
    "NUL bytes, anything but a regular file. Prints nothing on success, apart from a warning\n"
    "when a map with Valve 220 faces loses its \"mapversion\" line.\n"
    "A line ends at CR LF, a lone CR or a lone LF; kept lines end in CR LF.\n"
    "A map whose name starts with \"-\" is named with its folder, as in ./-old.map.\n"
    "Exit status: 0 rewritten, 1 refused or failed (the report says what the files hold), 2 a\n"
    "wrong command line.\n",
    PELLISK_VERSION};

}  // namespace

int main(int argc, char** argv) {
  const std::string argumentText = platform::ArgumentText(argc, argv);
  if (const auto answered = platform::common::AnswerCommonOptions(
          kUsage, platform::common::SplitCommandLine(argumentText), std::cout, std::cerr)) {
    return *answered;
  }
  if (core::TrimSpaces(stripper::UnquotedArgument(argumentText)).empty()) {
    return platform::common::WrongCommandLine(kUsage, "no map file named", std::cerr);
  }
  try {
    const std::string warning =
        stripper::MapVersionStripper(argumentText, platform::NativeFileSystem());
    if (!warning.empty()) {
      std::cerr << "pellisk: warning: " << warning << "\n";
    }
  } catch (const std::exception& failure) {
    std::cerr << "pellisk: " << failure.what() << "\n";
    return kExitFailure;
  }
  return 0;
}
