// Korvane: brings every Quake WAD in the editor's texture folder up to date as a Half-Life WAD.
// The Qt application carries the window and the library's message box; the driver does the run.

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <string>

#include "core/failure.h"
#include "core/trace.h"
#include "driver/conversion_driver.h"
#include "driver/run_paths.h"
#include "platform/platform.h"
#include "window/qt/qt_progress_window.h"
#include "window/qt/windows1252.h"

namespace {

const QString kTitle = QStringLiteral("Korvane");

// Qt's offscreen and minimal platforms have nobody to press a dialog's OK.
bool SomeoneCanAnswerDialogs() {
  const QString platform = QGuiApplication::platformName();
  return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

void ShowQtMessageBox(const std::string& text) {
  QMessageBox::information(nullptr, kTitle, window::ScreenText(text));
}

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
  QApplication application(argc, argv);
  QApplication::setApplicationName(kTitle);
  if (SomeoneCanAnswerDialogs()) {
    core::SetMessageBoxHook(ShowQtMessageBox);
  }
  window::QtProgressWindow progress;
  try {
    driver::ConversionDriver(progress);
  } catch (const core::SystemFailure& failure) {
    const std::string report = StartFailureReport(failure);
    std::fprintf(stderr, "korvane: %s\n", report.c_str());
    if (SomeoneCanAnswerDialogs()) {
      QMessageBox::critical(nullptr, kTitle, window::ScreenText("Korvane " + report));
    }
    return 1;
  }
  return 0;
}
