#pragma once

// The two windows, with what a test needs to play the user and to look at the log box's caret.

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <string>

#include "window/memory/memory_window.h"
#include "window/qt/qt_progress_window.h"

namespace window_testing {

struct MemoryKind {
  using Window = window::MemoryWindow;

  static bool CaretAtEndNothingSelected(Window& window) {
    const window::MemoryTextBox& box = window.Text1Box();
    return static_cast<std::size_t>(box.SelStart()) == box.Text().size() && box.SelLength() == 0;
  }
  static void ClickDone(Window& window) { window.ClickDone(); }
  static void CloseByFrame(Window& window) { window.CloseByFrame(); }
  static bool Visible(const Window& window) { return window.Visible(); }
};

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
  static void ClickDone(Window& window) {
    auto* done = window.Form()->findChild<QPushButton*>("Command1");
    if (done->isVisible()) {
      QTest::mouseClick(done, Qt::LeftButton);
    }
  }
  static void CloseByFrame(Window& window) { window.Form()->close(); }
  static bool Visible(Window& window) { return window.Form()->isVisible(); }
};

}  // namespace window_testing
