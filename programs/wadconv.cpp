// wadconv -wad2hl NAME: converts the Quake WAD NAME into a Half-Life WAD "<stem>.hlwad" in the
// current folder. Everything goes to standard output, each line ended by CR LF like every other
// text file of the programs; errors start with "** ERROR **" and give a non-zero exit code.

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "platform/platform.h"
#include "wadconv/conversion.h"
#include "wadconv/converter_run.h"

namespace {

constexpr char kHelp[] =
    "usage: wadconv -wad2hl NAME\n"
    "Converts the Quake WAD2 file NAME into the Half-Life WAD3 file STEM.hlwad in the current\n"
    "folder (STEM is NAME's file name up to its last \".\"). Exit status: 0 converted,\n"
    "1 not converted (nothing written), 2 wrong arguments.\n";

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputs("\r\n", stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("wadconv %s\n", WADCONV_VERSION);
    return 0;
  }
  try {
    const wadconv::RunOutcome outcome =
        wadconv::RunWadconv(platform::NativeFileSystem(), platform::ArgumentText(argc, argv));
    for (const std::string& line : outcome.lines) {
      PrintLine(line);
    }
    std::fflush(stdout);
    return outcome.exitCode;
  } catch (const std::exception& error) {
    PrintLine(std::string(wadconv::kErrorMarker) + " " + error.what());
    return wadconv::kExitFailed;
  }
}
