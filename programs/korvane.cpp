// Korvane: brings every Quake WAD in the editor's texture folder up to date as a Half-Life WAD.
// The toolkit's application carries the window and the library's message box; the driver does the
// run. Exit status: 0 when everything converted or was up to date, 1 after failures, when the
// texture folder cannot be opened or while another run holds it, 2 for a wrong command line.

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "core/failure.h"
#include "core/file_ops.h"
#include "driver/conversion_driver.h"
#include "driver/run_paths.h"
#include "platform/common/program_options.h"
#include "platform/platform.h"
#include "window/application.h"

namespace {

constexpr char kHelp[] =
    "Converts every Quake WAD (*.wad) in c:\\program files\\worldcraft\\textures that changed\n"
    "since its last conversion into a Half-Life WAD (.hlwad) beside it, and saves the run log\n"
    "there as successful.log or error.log. When nothing needs converting no window appears.\n"
    "Without a display the run log is printed on standard output.\n"
    "Only one Korvane converts the folder at a time; a second one exits at once.\n"
    "Exit status: 0 converted or up to date, 1 failures, no texture folder or another run\n"
    "at work, 2 a wrong command line.\n";
constexpr char kEditorFolder[] = "c:\\program files\\worldcraft";
constexpr char kEditorFolder32[] = "c:\\program files (x86)\\worldcraft";

constexpr int kExitFailures = 1;

// Held for the whole run, so that a second Korvane (a double click) never works on the same folder
// at once; the system drops it when the process ends, however it ends.
constexpr char kRunLockFile[] = "c:\\program files\\worldcraft\\textures\\korvane.lock";
constexpr char kAlreadyRunning[] = "Korvane is already converting this folder";

// What the user needs to find the folder: the failure, where on this machine the program looked,
// and the editor's 32-bit installation folder when that is where the textures are.
std::string StartFailureReport(const core::SystemFailure& failure) {
  std::string report = std::string("cannot open the texture folder ") + driver::kTextureFolder +
                       ": " + failure.what() + ".";
  std::string host;
  if (platform::HostPath(driver::kTextureFolder, host) == 0 && host != driver::kTextureFolder) {
    report += " It looked for " + host + ".";
  }
  const std::string origin = platform::DriveOrigin('c');
  if (!origin.empty()) {
    report += " On this machine " + origin + ". Korvane expects a Wine prefix with the editor.";
  }
  // A link can stand only where the editor's folder is missing.
  if (core::DetectIfAFileExistsTrueFalseAbs(kEditorFolder32) == -1 &&
      core::DetectIfAFileExistsTrueFalseAbs(kEditorFolder) != -1) {
    report += std::string(" The editor is installed under ") + kEditorFolder32 +
              "; make the fixed folder reach it with " +
              platform::FolderLinkCommand(kEditorFolder, kEditorFolder32) + ".";
  } else if (core::DetectIfAFileExistsTrueFalseAbs(driver::kTextureFolder) != -1) {
    report += std::string(" Install the editor there") +
              (origin.empty() ? "" : ", set WINEPREFIX to the Wine prefix that holds it") +
              ", or make the folder with " + platform::MakeFolderCommand(driver::kTextureFolder) +
              ".";
  }
  return report;
}

// The help, with where the texture folder is on this machine and what chooses it.
std::string Help() {
  std::string help = kHelp;
  std::string host;
  if (platform::HostPath(driver::kTextureFolder, host) == 0 && host != driver::kTextureFolder) {
    help += "The texture folder on this machine:\n  " + host + "\n";
  }
  const std::string origin = platform::DriveOrigin('c');
  if (!origin.empty()) {
    help += "On this machine " + origin +
            ".\nWINEPREFIX chooses the Wine prefix: WINEPREFIX=~/.wine-worldcraft korvane\n";
  }
  return help;
}

void PrintLog(const std::string& log) {
  const char* const lineEnd = platform::StandardOutputLineEnd();
  const std::string shown = platform::common::WithLineEnds(log, lineEnd) + lineEnd;
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const platform::common::ProgramUsage usage{"korvane", "[-h | --help | --version]", Help(),
                                             KORVANE_VERSION};
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (const auto answered =
          platform::common::AnswerCommonOptions(usage, words, std::cout, std::cerr)) {
    return *answered;
  }
  if (!words.empty()) {
    return platform::common::WrongCommandLine(usage, "unexpected argument '" + words.front() + "'",
                                              std::cerr);
  }
  const std::unique_ptr<window::Application> application = window::StartApplication(argc, argv);
  // A folder that cannot hold the lock file is left to the run, which reports what is wrong with
  // it.
  platform::RunLock lock;
  if (platform::TakeRunLock(kRunLockFile, lock) == platform::kLockHeld) {
    std::fprintf(stderr, "korvane: %s\n", kAlreadyRunning);
    application->ReportFailure(kAlreadyRunning);
    return kExitFailures;
  }
  try {
    const driver::RunResult result = driver::ConversionDriver(application->Window());
    if (!application->Window().Watched()) {
      PrintLog(result.log);
    }
    if (!result.unsavedLog.empty()) {
      std::fprintf(stderr, "korvane: %s\n", result.unsavedLog.c_str());
    }
    return result.failureCount > 0 ? kExitFailures : 0;
  } catch (const core::SystemFailure& failure) {
    const std::string report = StartFailureReport(failure);
    std::fprintf(stderr, "korvane: %s\n", report.c_str());
    application->ReportFailure("Korvane " + report);
    return kExitFailures;
  }
}
