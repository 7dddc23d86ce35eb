// Korvane: brings every Quake WAD in the editor's texture folder up to date as a Half-Life WAD.
// The toolkit's application carries the window and the library's message box; the driver does the
// run. Exit status: 0 when everything converted or was up to date, 1 after failures, when the
// texture folder cannot be opened or locked, while another run holds it or after the window was
// closed mid-run, 2 for a wrong command line, and after a stop request the status it names (128 +
// the signal's number on POSIX).

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
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
    "SIGINT, SIGTERM or SIGHUP stops the run as closing the window does: the converters end and\n"
    "error.log says which WADs were not converted. Bound a run with timeout, as in\n"
    "\"timeout 1h korvane\".\n"
    "Exit status: 0 converted or up to date, 1 failures, no texture folder or another run\n"
    "at work, 2 a wrong command line, 130, 143 or 129 stopped by SIGINT, SIGTERM or SIGHUP.\n";
constexpr char kEditorFolder[] = "c:\\program files\\worldcraft";
constexpr char kEditorFolder32[] = "c:\\program files (x86)\\worldcraft";

constexpr int kExitFailures = 1;

// Held for the whole run, so that a second Korvane (a double click) never works on the same folder
// at once; the system drops it when the run's last process ends, however it ends.
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

// The run log's text on standard output, with the terminal's line ends; the log itself ends lines
// with CR LF.
void Print(std::string_view text) {
  const std::string shown = platform::common::WithLineEnds(text, platform::StandardOutputLineEnd());
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fflush(stdout);
}

// Why no run can go ahead without the lock: another run holds it, or it cannot be taken at all.
// Without it two runs could overlap, so either way the run stops before it changes anything.
std::string LockFailure(platform::Error error) {
  if (error == platform::kLockHeld) {
    return kAlreadyRunning;
  }
  // Where the texture folder is missing, that is the reason, with where Korvane looked.
  core::SetCHDriveCHDir(driver::kTextureFolder);
  return std::string("cannot lock ") + kRunLockFile + ": " + platform::ErrorDescription(error) +
         ".";
}

// A stopped run ends with the status of the request that stopped it, or 1 after the window was
// closed.
int ExitStatus(const driver::RunResult& result) {
  if (result.stopped) {
    const platform::StopRequest request = platform::CaughtStopRequest();
    return request.name.empty() ? kExitFailures : request.exitStatus;
  }
  return result.failureCount > 0 ? kExitFailures : 0;
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
  platform::CatchStopRequests();
  const std::unique_ptr<window::Application> application = window::StartApplication(argc, argv);
  window::ProgressWindow& window = application->Window();
  // Where nobody watches the window, the run log goes to standard output as it grows, from the
  // moment the window is shown; a run that never shows it prints its summary at the end.
  bool echoed = false;
  window.EchoLog([&echoed](std::string_view text) {
    Print(text);
    echoed = true;
  });
  try {
    platform::RunLock lock;
    if (const platform::Error error = platform::TakeRunLock(kRunLockFile, lock); error != 0) {
      const std::string report = LockFailure(error);
      std::fprintf(stderr, "korvane: %s\n", report.c_str());
      application->ReportFailure(error == platform::kLockHeld ? report : "Korvane " + report);
      return kExitFailures;
    }
    const driver::RunResult result = driver::ConversionDriver(window);
    if (!window.Watched()) {
      const std::string lineEnd = platform::StandardOutputLineEnd();
      Print(echoed ? lineEnd : result.log + lineEnd);
    }
    if (!result.unsavedLog.empty()) {
      std::fprintf(stderr, "korvane: %s\n", result.unsavedLog.c_str());
    }
    return ExitStatus(result);
  } catch (const core::SystemFailure& failure) {
    const std::string report = StartFailureReport(failure);
    std::fprintf(stderr, "korvane: %s\n", report.c_str());
    application->ReportFailure("Korvane " + report);
    return kExitFailures;
  }
}
