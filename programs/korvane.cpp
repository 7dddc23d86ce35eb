// Korvane: brings every Quake WAD in the editor's texture folder up to date as a Half-Life WAD.
// The toolkit's application carries the window and the library's message box; the driver does the
// run.

#include <cstdio>
#include <memory>
#include <string>

#include "core/failure.h"
#include "driver/conversion_driver.h"
#include "driver/run_paths.h"
#include "platform/platform.h"
#include "window/application.h"

namespace {

// What the user needs to find the folder: the failure, and where on this machine the program
// looked for it.
std::string StartFailureReport(const core::SystemFailure& failure) {
  std::string report = std::string("cannot open the texture folder: ") + failure.what() + ".";
  std::string host;
  if (platform::HostPath(driver::kTextureFolder, host) == 0) {
    report += " On this machine " + std::string(driver::kTextureFolder) + " is " + host + ".";
  }
  return report;
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<window::Application> application = window::StartApplication(argc, argv);
  try {
    driver::ConversionDriver(application->Window());
  } catch (const core::SystemFailure& failure) {
    const std::string report = StartFailureReport(failure);
    std::fprintf(stderr, "korvane: %s\n", report.c_str());
    application->ReportFailure("Korvane " + report);
    return 1;
  }
  return 0;
}
