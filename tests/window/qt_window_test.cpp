// What only the Qt window has: its frame and icon, the banner's font and colour and the log box's
// scroll bar.

#include "window/qt/qt_progress_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>

#include "window/design.h"

namespace {

class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { window.Load(); }

  template <typename Control>
  Control& Find(const char* name) {
    window.Refresh();
    return *window.Form()->findChild<Control*>(name);
  }

  window::QtProgressWindow window;
};

TEST_F(QtWindowTest, TheFixedFrameCanNeitherMaximiseNorResizeAndCarriesTheIcon) {
  QWidget* form = window.Form();
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << "else the system's default buttons";
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint) &&
              flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(form->minimumSize(), form->size());
  EXPECT_EQ(form->maximumSize(), form->size());
  window.Show();
  EXPECT_EQ(form->windowFlags(), flags) << "showing keeps the frame";

  const QList<QSize> sizes = form->windowIcon().availableSizes();
  for (const QStyle::PixelMetric metric : {QStyle::PM_SmallIconSize, QStyle::PM_LargeIconSize}) {
    const int size = QApplication::style()->pixelMetric(metric);
    EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  }
}

TEST_F(QtWindowTest, TheBannerIsBoldAndRedAndTheLogBoxScrollsVertically) {
  const QLabel& banner = Find<QLabel>("Label2");
  const QFont font = banner.font();
  EXPECT_TRUE(font.bold());
  EXPECT_EQ(font.family(), QString::fromLatin1(window::design::kLabel2Font));
  EXPECT_EQ(font.styleHint(), QFont::SansSerif);
  EXPECT_DOUBLE_EQ(font.pointSizeF(), window::design::kLabel2PointSize);
  const QColor colour = banner.palette().color(QPalette::WindowText);
  EXPECT_EQ(colour.hue(), 0) << "red";
  EXPECT_GT(colour.saturation(), 200);
  EXPECT_NE(colour, Find<QLabel>("Label1_0").palette().color(QPalette::Text));

  QPlainTextEdit& log = Find<QPlainTextEdit>("Text1");
  EXPECT_NE(log.lineWrapMode(), QPlainTextEdit::NoWrap);
  window.Show();
  EXPECT_TRUE(log.verticalScrollBar()->isVisible()) << "also while the log is short";
}

}  // namespace
