// Korvane: brings every Quake WAD in the editor's texture folder up to date as a Half-Life WAD.
// The toolkit's application carries the window and the library's message box; the driver does the
// run. Exit status: 0 when everything converted or was up to date, 1 after failures, when the
// texture folder cannot be opened or while another run holds it, 2 for a wrong command line.

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/failure.h"
#include "core/file_ops.h"
#include "driver/conversion_driver.h"
#include "driver/run_paths.h"
#include "platform/platform.h"
#include "window/application.h"

namespace {

constexpr char kUsage[] = "usage: korvane [--help | --version]";
constexpr char kHelp[] =
    "Converts every Quake WAD (*.wad) in c:\\program files\\worldcraft\\textures that changed\n"
    "since its last conversion into a Half-Life WAD (.hlwad) beside it, and saves the run log\n"
    "there as successful.log or error.log. When nothing needs converting no window appears.\n"
    "Without a display the run log is printed on standard output.\n"
    "Only one Korvane converts the folder at a time; a second one exits at once.\n"
    "Exit status: 0 converted or up to date, 1 failures, no texture folder or another run\n"
    "at work, 2 wrong usage.\n";
constexpr char kEditorFolder[] = "c:\\program files\\worldcraft";
constexpr char kEditorFolder32[] = "c:\\program files (x86)\\worldcraft";

constexpr int kExitFailures = 1;
constexpr int kExitUsage = 2;

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
  if (core::DetectIfAFileExistsTrueFalseAbs(kEditorFolder32) == -1) {
    report += std::string(" The editor is installed under ") + kEditorFolder32 +
              "; make the fixed folder reach it with " +
              platform::FolderLinkCommand(kEditorFolder, kEditorFolder32) + ".";
  }
  return report;
}

void PrintLog(const std::string& log) {
  std::fwrite(log.data(), 1, log.size(), stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    const bool alone = argc == 2;
    if (alone && std::strcmp(argv[1], "--help") == 0) {
      std::printf("%s\n%s", kUsage, kHelp);
      return 0;
    }
    if (alone && std::strcmp(argv[1], "--version") == 0) {
      std::printf("korvane %s\n", KORVANE_VERSION);
      return 0;
    }
    std::fprintf(stderr, "%s\n", kUsage);
    return kExitUsage;
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
