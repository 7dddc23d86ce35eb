#pragma once

// The Qt window in the contract tests (included by window_kinds.h).

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <string>

#include "window/qt/qt_progress_window.h"

namespace window_testing {

struct QtKind {
  using Window = window::QtProgressWindow;

  static QWidget& Widget(Window& window, Control control) {
    static const char* const names[] = {"List1", "Command1", "Text3",    "Text2",   "FileZ1",
                                        "Text1", "Label2",   "Label1_0", "Label1_1"};
    window.Refresh();
    return *window.Form()->findChild<QWidget*>(names[static_cast<int>(control)]);
  }
  static QPlainTextEdit& Text1(Window& window) {
    return static_cast<QPlainTextEdit&>(Widget(window, Control::Text1));
  }

  static bool CaretAtEndNothingSelected(Window& window) {
    return Text1(window).textCursor().atEnd() && Selected(window).empty();
  }
  static bool CaretAtStartNothingSelected(Window& window) {
    return Text1(window).textCursor().atStart() && Selected(window).empty();
  }
  static void ClickDone(Window& window) {
    if (Visible(window, Control::Command1)) {
      QTest::mouseClick(&Widget(window, Control::Command1), Qt::LeftButton);
    }
  }
  static void CloseByFrame(Window& window) { window.Form()->close(); }
  static void Press(Window& window, Control control, Key key) {
    QWidget& target = Widget(window, control);
    if (key == Key::AltD) {
      // Qt sends a shortcut to the active window only; the button's shortcut releases it 100 ms
      // after pressing it.
      window.Form()->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(window.Form()));
      QTest::keyClick(&target, Qt::Key_D, Qt::AltModifier);
      QTest::qWait(150);
    } else {
      QTest::keyClick(&target, key == Key::Return ? Qt::Key_Return : Qt::Key_Escape);
    }
    window.DoEvents();
  }

  static bool Visible(Window& window) { return window.Form()->isVisible(); }
  static bool Visible(Window& window, Control control) {
    return Widget(window, control).isVisible();
  }
  static std::u16string Caption(Window& window) {
    return window.Form()->windowTitle().toStdU16String();
  }
  static Place Client(Window& window) {
    return {0, 0, window.Form()->width(), window.Form()->height()};
  }
  static Place PlaceOf(Window& window, Control control) {
    const QRect place = Widget(window, control).geometry();
    return {place.left(), place.top(), place.right() + 1, place.bottom() + 1};
  }
  static std::u16string Shown(Window& window, Control control) {
    QWidget& widget = Widget(window, control);
    auto* edit = qobject_cast<QPlainTextEdit*>(&widget);
    return (edit != nullptr ? edit->toPlainText() : widget.property("text").toString())
        .toStdU16String();
  }
  static std::u16string Selected(Window& window) {
    return Text1(window).textCursor().selectedText().toStdU16String();
  }
  static int TopLine(Window& window) { return Text1(window).verticalScrollBar()->value(); }
};

using ToolkitKind = QtKind;

}  // namespace window_testing
