// What only the Qt window has: its frame and icon, the banner's font and colour and the log box's
// scroll bar.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "tests/window/window_kinds.h"
#include "window/design.h"

namespace {

using window_testing::Control;
using Kind = window_testing::QtKind;

TEST(QtWindow, HasAFixedFrameWithIconABoldRedBannerAndALogThatWrapsAndScrolls) {
  window::QtProgressWindow window;
  window.Load();
  QWidget* form = window.Form();
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << "else the system's default buttons";
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint) &&
              flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(form->minimumSize(), form->size());
  EXPECT_EQ(form->maximumSize(), form->size());
  EXPECT_FALSE(form->windowIcon().isNull());

  const auto& banner = static_cast<QLabel&>(Kind::Widget(window, Control::Label2));
  const QFont font = banner.font();
  EXPECT_TRUE(font.bold());
  EXPECT_EQ(font.family(), QString::fromLatin1(window::design::kLabel2Font));
  EXPECT_EQ(font.styleHint(), QFont::SansSerif);
  EXPECT_DOUBLE_EQ(font.pointSizeF(), window::design::kLabel2PointSize);
  const QColor colour = banner.palette().color(QPalette::WindowText);
  EXPECT_EQ(colour.hue(), 0) << "red";
  EXPECT_GT(colour.saturation(), 200);

  QPlainTextEdit& log = Kind::Text1(window);
  EXPECT_NE(log.lineWrapMode(), QPlainTextEdit::NoWrap);
  window.Show();
  EXPECT_EQ(form->windowFlags(), flags) << "showing keeps the frame";
  EXPECT_TRUE(log.verticalScrollBar()->isVisible()) << "also while the log is short";
}

}  // namespace
