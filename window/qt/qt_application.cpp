#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include "core/trace.h"
#include "window/application.h"
#include "window/qt/qt_progress_window.h"
#include "window/qt/windows1252.h"

namespace window {

namespace {

const QString kTitle = QStringLiteral("Korvane");

// Without a display to open (a terminal, ssh, cron) Qt would abort at start; the offscreen
// platform lets the run go on, and the program reports on standard output instead.
void ChooseOffscreenWithoutDisplay() {
  const auto unset = [](const char* name) { return qEnvironmentVariableIsEmpty(name); };
  if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
}

void ShowQtMessageBox(const std::string& text) {
  QMessageBox::information(nullptr, kTitle, ScreenText(text));
}

class QtApplication : public Application {
 public:
  QtApplication(int& argc, char** argv) : application_(argc, argv) {
    QApplication::setApplicationName(kTitle);
    if (QtPlatformIsSeen()) {
      core::SetMessageBoxHook(ShowQtMessageBox);
    }
  }
  ~QtApplication() override { core::SetMessageBoxHook(nullptr); }
  QtApplication(const QtApplication&) = delete;
  QtApplication& operator=(const QtApplication&) = delete;

  ProgressWindow& Window() override { return window_; }

  void ReportFailure(const std::string& text) override {
    if (QtPlatformIsSeen()) {
      QMessageBox::critical(nullptr, kTitle, ScreenText(text));
    }
  }

 private:
  // The window's widgets need the application object, before them and after them.
  QApplication application_;
  QtProgressWindow window_;
};

}  // namespace

std::unique_ptr<Application> StartApplication(int& argc, char** argv) {
  ChooseOffscreenWithoutDisplay();
  return std::make_unique<QtApplication>(argc, argv);
}

}  // namespace window
