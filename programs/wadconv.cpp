// wadconv -wad2hl NAME: converts the Quake WAD NAME into a Half-Life WAD "<stem>.hlwad" in the
// current folder. Everything goes to standard output, each line ended by CR LF like every other
// text file of the programs; errors start with "** ERROR **" and give a non-zero exit code.

#include <cstdio>
#include <exception>
#include <string>

#include "platform/platform.h"
#include "wadconv/conversion.h"
#include "wadconv/converter_run.h"

namespace {

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputs("\r\n", stdout);
}

}  // namespace

int main(int argc, char** argv) {
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
