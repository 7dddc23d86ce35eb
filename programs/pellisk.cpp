// Pellisk: rewrites one map file without its "mapversion" lines.

#include <exception>
#include <iostream>
#include <string>

#include "core/paths.h"
#include "platform/platform.h"
#include "stripper/map_names.h"
#include "stripper/map_version_stripper.h"

namespace {

constexpr char kUsage[] = "usage: pellisk MAPFILE";
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr char kHelp[] =
    "Rewrites MAPFILE without every line that holds \"mapversion\" in any letter case.\n"
    "A name without any \".\" gets \".map\". The map is set aside as a lower-case \".bkr\"\n"
    "backup in its own folder while the new map takes its name; the backup is deleted at the\n"
    "end. On failure the files are put back as they were. Prints nothing on success.\n"
    "A line ends at CR LF, a lone CR or a lone LF; kept lines end in CR LF.\n"
    "Exit status: 0 rewritten, 1 failure (the map is unchanged), 2 wrong usage.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::string argumentText = platform::ArgumentText(argc, argv);
  if (argumentText == "--help" || argumentText == "-h") {
    std::cout << kUsage << "\n" << kHelp;
    return 0;
  }
  if (argumentText == "--version") {
    std::cout << "pellisk " << PELLISK_VERSION << "\n";
    return 0;
  }
  if (core::TrimSpaces(stripper::UnquotedArgument(argumentText)).empty()) {
    std::cerr << kUsage << "\n";
    return kExitUsage;
  }
  try {
    stripper::MapVersionStripper(argumentText, platform::NativeFileSystem());
  } catch (const std::exception& failure) {
    std::cerr << "pellisk: " << failure.what() << "\n";
    return kExitFailure;
  }
  return 0;
}
