// korvane-cmd BATCHFILE: runs a batch file as cmd.exe would run the lines Korvane writes, on
// systems that have no cmd.exe. The platform layer starts it for every ".bat" command line.

#include <exception>
#include <iostream>
#include <string>

#include "core/failure.h"
#include "platform/common/command_line.h"
#include "platform/common/program_options.h"
#include "platform/platform.h"
#include "platform/posix/run_program.h"
#include "shell/batch_line.h"
#include "shell/interpreter.h"

namespace {

const platform::common::ProgramUsage kUsage{
    "korvane-cmd", "BATCHFILE",
    "Runs BATCHFILE line by line as cmd.exe runs the lines Korvane writes: drive and folder\n"
    "changes, programs with their standard output sent to a file, and exit. A line that cannot\n"
    "run explains itself on standard output and the batch goes on. SIGINT, SIGTERM or SIGHUP\n"
    "stops the batch: the running program and all it started end, and korvane-cmd with them.\n"
    "Exit status: 0 the batch ran, 1 the batch file cannot be read, 2 a wrong command line.\n",
    KORVANE_VERSION};

// The batch path is the whole argument text, perhaps in double quotes: the path may hold spaces.
std::string BatchPath(const std::string& argumentText) {
  const std::size_t first = argumentText.find_first_not_of(" \t");
  if (first == std::string::npos) {
    return {};
  }
  if (argumentText[first] == '"') {
    const std::size_t closing = argumentText.find('"', first + 1);
    return argumentText.substr(
        first + 1, closing == std::string::npos ? std::string::npos : closing - first - 1);
  }
  return argumentText.substr(first, argumentText.find_last_not_of(" \t") - first + 1);
}

}  // namespace

int main(int argc, char** argv) {
  platform::posix::HoldStopSignals();
  try {
    const std::string argumentText = platform::ArgumentText(argc, argv);
    if (const auto answered = platform::common::AnswerCommonOptions(
            kUsage, platform::common::SplitCommandLine(argumentText), std::cout, std::cerr)) {
      return *answered;
    }
    const std::string batch = BatchPath(argumentText);
    if (batch.empty()) {
      return platform::common::WrongCommandLine(kUsage, "no batch file named", std::cerr);
    }
    platform::FileSystem& fs = platform::NativeFileSystem();
    std::string text;
    if (const platform::Error error = shell::ReadBatchFile(fs, batch, text); error != 0) {
      throw core::SystemFailure("Cannot read the batch file " + batch, error);
    }
    shell::Interpreter interpreter{
        fs,
        platform::posix::RunProgramAndWait,
        {platform::posix::RunningProgramFolder(), platform::posix::PathFolders()},
        std::cout};
    shell::RunBatch(shell::SplitBatchText(text), interpreter);
    return 0;
  } catch (const std::exception& failure) {
    std::cerr << "korvane-cmd: " << failure.what() << "\n";
    return 1;
  }
}
