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

// Qt's offscreen and minimal platforms have nobody to press a dialog's OK.
bool SomeoneCanAnswerDialogs() {
  const QString platform = QGuiApplication::platformName();
  return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

void ShowQtMessageBox(const std::string& text) {
  QMessageBox::information(nullptr, kTitle, ScreenText(text));
}

class QtApplication : public Application {
 public:
  QtApplication(int& argc, char** argv) : application_(argc, argv) {
    QApplication::setApplicationName(kTitle);
    if (SomeoneCanAnswerDialogs()) {
      core::SetMessageBoxHook(ShowQtMessageBox);
    }
  }
  ~QtApplication() override { core::SetMessageBoxHook(nullptr); }
  QtApplication(const QtApplication&) = delete;
  QtApplication& operator=(const QtApplication&) = delete;

  ProgressWindow& Window() override { return window_; }

  void ReportFailure(const std::string& text) override {
    if (SomeoneCanAnswerDialogs()) {
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
  return std::make_unique<QtApplication>(argc, argv);
}

}  // namespace window
