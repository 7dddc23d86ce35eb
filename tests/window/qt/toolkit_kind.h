#pragma once

// The Qt window in the typed window tests, and a hidden file as the POSIX platform layer sees one.

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <filesystem>
#include <fstream>
#include <string>

#include "window/qt/qt_progress_window.h"

namespace window_testing {

struct QtKind {
  using Window = window::QtProgressWindow;

  static QPlainTextEdit& Text1(Window& window) {
    window.Refresh();
    return *window.Form()->findChild<QPlainTextEdit*>("Text1");
  }
  static bool CaretAtEndNothingSelected(Window& window) {
    const QTextCursor caret = Text1(window).textCursor();
    return caret.atEnd() && !caret.hasSelection();
  }
  static bool CaretAtStartNothingSelected(Window& window) {
    const QTextCursor caret = Text1(window).textCursor();
    return caret.atStart() && !caret.hasSelection();
  }
  static void ClickDone(Window& window) {
    auto* done = window.Form()->findChild<QPushButton*>("Command1");
    if (done->isVisible()) {
      QTest::mouseClick(done, Qt::LeftButton);
    }
  }
  static void CloseByFrame(Window& window) { window.Form()->close(); }
  static bool Visible(Window& window) { return window.Form()->isVisible(); }
};

using ToolkitKind = QtKind;

// Names that start with a dot are hidden.
inline void AddHiddenFile(const std::filesystem::path& folder, const std::string& name) {
  std::ofstream(folder / ("." + name)) << "x";
}

}  // namespace window_testing
