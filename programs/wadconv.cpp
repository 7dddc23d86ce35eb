// wadconv -wad2hl NAME: converts the Quake WAD NAME into a Half-Life WAD "<stem>.hlwad" in the
// current folder. Everything goes to standard output, so that a batch that sends it to a log keeps
// all of it; errors start with "** ERROR **" and give a non-zero exit code. Lines end in CR LF like
// every other text file of the programs, and in LF on a terminal of Linux.

#include <cstdio>
#include <exception>
#include <sstream>
#include <string>

#include "platform/common/command_line.h"
#include "platform/common/program_options.h"
#include "platform/platform.h"
#include "wadconv/conversion.h"
#include "wadconv/converter_run.h"

namespace {

const platform::common::ProgramUsage kUsage{
    "wadconv", "-wad2hl NAME",
    "Converts the Quake WAD2 file NAME into the Half-Life WAD3 file STEM.hlwad in the current\n"
    "folder (STEM is NAME's file name up to its last dot). Everything, errors too, goes to\n"
    "standard output. Exit status: 0 converted, 1 not converted (nothing written), 2 a wrong\n"
    "command line.\n",
    WADCONV_VERSION, "** ERROR ** "};

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputs(platform::StandardOutputLineEnd(), stdout);
}

// What the shared command-line rules said, one line at a time.
void PrintLines(const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    PrintLine(line);
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string argumentText = platform::ArgumentText(argc, argv);
  std::ostringstream said;
  if (const auto answered = platform::common::AnswerCommonOptions(
          kUsage, platform::common::SplitCommandLine(argumentText), said, said, {"-wad2hl"})) {
    PrintLines(said.str());
    return *answered;
  }
  if (wadconv::NameFromArguments(argumentText).empty()) {
    const int status =
        platform::common::WrongCommandLine(kUsage, "expected -wad2hl and the name of a WAD", said);
    PrintLines(said.str());
    return status;
  }
  try {
    const wadconv::RunOutcome outcome =
        wadconv::RunWadconv(platform::NativeFileSystem(), argumentText);
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
