#include "window/qt/qt_progress_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>

#include "core/text_box.h"
#include "window/qt/windows1252.h"

namespace {

class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window::DonePressed = false;
    window.Load();
  }

  template <typename Control>
  Control* Find(const char* name) {
    auto* control = window.Form()->findChild<Control*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  QPlainTextEdit& Text1() {
    window.Refresh();
    return *Find<QPlainTextEdit>("Text1");
  }

  window::QtProgressWindow window;
};

// Left, top, width and height in twips, as designed, at 15 twips to the pixel.
QRect FromTwips(int left, int top, int width, int height) {
  return {left / 15, top / 15, width / 15, height / 15};
}

TEST_F(QtWindowTest, HasTheDesignedCaptionSizeAndIcon) {
  QWidget* form = window.Form();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Converting Quake WAD to HL WAD"));
  EXPECT_EQ(form->size(), QSize(9240 / 15, 7665 / 15));
  const QList<QSize> sizes = form->windowIcon().availableSizes();
  for (const int size : {16, 32, 48}) {
    EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  }
  EXPECT_FALSE(form->isVisible()) << "a loaded window stays hidden until shown";
}

TEST_F(QtWindowTest, TheFrameNeitherMaximisesNorResizes) {
  QWidget* form = window.Form();
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << "else the system's default buttons";
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(form->isWindow());
  EXPECT_EQ(form->minimumSize(), form->size());
  EXPECT_EQ(form->maximumSize(), form->size());
  window.Show();
  EXPECT_EQ(form->windowFlags(), flags) << "showing keeps the frame";
}

TEST_F(QtWindowTest, ControlsAreCreatedInTheDesignedOrderAndPlaces) {
  QStringList order;
  for (QObject* child : window.Form()->children()) {
    if (child->isWidgetType()) {
      order << child->objectName();
    }
  }
  EXPECT_EQ(order, QStringList({"List1", "Command1", "Text3", "Text2", "FileZ1", "Text1", "Label2",
                                "Label1_0", "Label1_1"}));

  EXPECT_EQ(Find<QListWidget>("List1")->geometry(), FromTwips(2820, 6000, 2295, 645));
  EXPECT_EQ(Find<QPushButton>("Command1")->geometry(), FromTwips(7260, 7200, 1755, 315));
  EXPECT_EQ(Find<QLineEdit>("Text3")->geometry(), FromTwips(8400, 120, 615, 375));
  EXPECT_EQ(Find<QLineEdit>("Text2")->geometry(), FromTwips(1140, 120, 3375, 375));
  EXPECT_EQ(Find<QListWidget>("FileZ1")->geometry(), FromTwips(180, 5880, 1695, 3600));
  EXPECT_EQ(Find<QPlainTextEdit>("Text1")->geometry(), FromTwips(180, 600, 8835, 6495));
  EXPECT_EQ(Find<QLabel>("Label2")->geometry(), FromTwips(180, 7260, 4395, 315));
  EXPECT_EQ(Find<QLabel>("Label1_0")->geometry(), FromTwips(180, 120, 855, 315));
  EXPECT_EQ(Find<QLabel>("Label1_1")->geometry(), FromTwips(7140, 120, 1155, 315));
}

TEST_F(QtWindowTest, ControlsShowTheirDesignTimeTexts) {
  EXPECT_EQ(Find<QPushButton>("Command1")->text(), QStringLiteral("&Done"));
  EXPECT_EQ(Find<QLineEdit>("Text3")->text(), QStringLiteral("-1"));
  EXPECT_EQ(Find<QLineEdit>("Text2")->text(), QStringLiteral("c:\\wads"));
  EXPECT_EQ(Text1().toPlainText(), QStringLiteral("Beginning Conversion ...\n"));
  EXPECT_EQ(Find<QLabel>("Label2")->text(),
            QStringLiteral("ERRORS IN CONVERSION!!!  SEE ABOVE LOG!"));
  EXPECT_EQ(Find<QLabel>("Label1_0")->text(), QStringLiteral("Directory"));
  EXPECT_EQ(Find<QLabel>("Label1_1")->text(), QStringLiteral("# to Convert"));
}

TEST_F(QtWindowTest, TheBannerIsPureRedBoldSansSerif) {
  const QLabel* banner = Find<QLabel>("Label2");
  EXPECT_EQ(banner->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_TRUE(banner->font().bold());
  EXPECT_DOUBLE_EQ(banner->font().pointSizeF(), 8.25);
  EXPECT_EQ(banner->font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(banner->font().styleHint(), QFont::SansSerif);
}

TEST_F(QtWindowTest, TheLogBoxIsMultiLineWithAVerticalScrollBar) {
  QPlainTextEdit& log = Text1();
  EXPECT_EQ(log.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_NE(log.lineWrapMode(), QPlainTextEdit::NoWrap);
  window.Show();
  EXPECT_TRUE(log.verticalScrollBar()->isVisible());
}

TEST_F(QtWindowTest, OnlyWhatIsMadeVisibleAppears) {
  window.List1AddItem("castle.wad");
  window.SetFileZ1Pattern("*.*");
  window.FileZ1Refresh();
  window.Show();
  window.DoEvents();
  for (const char* shown : {"Text3", "Text2", "Text1", "Label1_0", "Label1_1"}) {
    EXPECT_TRUE(Find<QWidget>(shown)->isVisible()) << shown;
  }
  for (const char* hidden : {"List1", "FileZ1", "Label2", "Command1"}) {
    EXPECT_FALSE(Find<QWidget>(hidden)->isVisible()) << hidden;
  }

  window.SetLabel2Visible(true);
  window.SetCommand1Visible(true);
  window.DoEvents();
  EXPECT_TRUE(Find<QWidget>("Label2")->isVisible());
  EXPECT_TRUE(Find<QWidget>("Command1")->isVisible());
  EXPECT_FALSE(Find<QWidget>("List1")->isVisible());
  EXPECT_FALSE(Find<QWidget>("FileZ1")->isVisible());
}

TEST_F(QtWindowTest, DIsTheAccessKeyOfDone) {
  EXPECT_EQ(Find<QPushButton>("Command1")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_D));
}

// After a failed run Done has the focus and is the default button: Return presses it, also from
// the log box, where a click may have put the focus.
TEST_F(QtWindowTest, ReturnPressesDoneOnceItShows) {
  window.Show();
  auto* log = Find<QPlainTextEdit>("Text1");
  QTest::keyClick(log, Qt::Key_Return);
  EXPECT_FALSE(window::DonePressed);
  window.SetCommand1Visible(true);
  window.DoEvents();
  auto* done = Find<QPushButton>("Command1");
  EXPECT_EQ(window.Form()->focusWidget(), done);
  EXPECT_TRUE(done->isDefault());
  QTest::keyClick(done, Qt::Key_Return);
  EXPECT_TRUE(window::DonePressed);
  window::DonePressed = false;
  QTest::keyClick(log, Qt::Key_Return);
  EXPECT_TRUE(window::DonePressed);
}

TEST_F(QtWindowTest, TextIsShownAsWindows1252WithOneBreakPerLineBreak) {
  window.Text1().SetText("caf\xE9 \x80\r\nlone cr\rlone lf\nend\r");
  ASSERT_EQ(Text1().blockCount(), 5) << "the CR at the end is a break on screen";
  window.Text1().AppendText("\nafter");
  EXPECT_EQ(Text1().toPlainText(),
            QString::fromUtf8("caf\u00E9 \u20AC\nlone cr\nlone lf\nend\nafter"));
  window.SetText2("c:\\caf\xE9");
  window.SetText3("\x80");
  EXPECT_EQ(Find<QLineEdit>("Text2")->text(), QString::fromUtf8("c:\\caf\u00E9"));
  EXPECT_EQ(Find<QLineEdit>("Text3")->text(), QString::fromUtf8("\u20AC"));
}

TEST_F(QtWindowTest, ALineIsShownAsUtf8OnceItsBytesAreValidUtf8) {
  core::TextBox& box = window.Text1();
  box.SetText("Converting Lights \xC3");
  EXPECT_EQ(Text1().toPlainText(), QString::fromUtf8("Converting Lights \u00C3"));
  box.AppendText("\x84\xC3\x96.wad");
  EXPECT_EQ(Text1().toPlainText(), QString::fromUtf8("Converting Lights \u00C4\u00D6.wad"));
  box.AppendText(" \xE9\r\nnext \xC3\x96");
  EXPECT_EQ(
      Text1().toPlainText(),
      QString::fromUtf8("Converting Lights \u00C3\u201E\u00C3\u2013.wad \u00E9\nnext \u00D6"));
  EXPECT_EQ(box.Text(), "Converting Lights \xC3\x84\xC3\x96.wad \xE9\r\nnext \xC3\x96")
      << "the text itself stays byte for byte";
}

TEST_F(QtWindowTest, AppendingInAnyPiecesShowsWhatTheWholeTextShows) {
  const std::string text =
      "==\r\nLights \xC3\x84\xC3\x96.wad\r\ncaf\xE9\r\r\n\xF0\x9F\x98\x80\nend \xC3\x96\r";
  core::TextBox& box = window.Text1();
  for (const std::size_t piece : {1, 2, 3, 5, 7}) {
    box.SetText("start\r\n");
    for (std::size_t at = 0; at < text.size(); at += piece) {
      box.AppendText(std::string_view(text).substr(at, piece));
      if (at % 2 == 0) {
        window.Refresh();
      }
    }
    EXPECT_EQ(Text1().toPlainText(), window::ScreenText("start\r\n" + text)) << piece;
  }
}

TEST_F(QtWindowTest, SelectionCountsTheBytesOfACharacter) {
  core::TextBox& box = window.Text1();
  box.SetText("\xC3\x84\xC3\x96\r\n\xF0\x9F\x98\x80x\r\n\xC4\xD6");
  box.SetSelStart(2);
  box.SetSelLength(2);
  EXPECT_EQ(Text1().textCursor().selectedText(), QString::fromUtf8("\u00D6"));
  box.SetSelStart(6);
  box.SetSelLength(5);
  EXPECT_EQ(Text1().textCursor().selectedText(), QString::fromUtf8("\U0001F600x"));
  box.SetSelStart(13);
  box.SetSelLength(1);
  EXPECT_EQ(Text1().textCursor().selectedText(), QString::fromUtf8("\u00C4"));
}

TEST_F(QtWindowTest, SelectionCountsACrLfPairAsTwo) {
  core::TextBox& box = window.Text1();
  box.SetText("ab\r\ncd\ref");
  box.SetSelStart(4);
  box.SetSelLength(2);
  EXPECT_EQ(Text1().textCursor().selectedText(), QStringLiteral("cd"));
  box.SetSelStart(7);
  box.SetSelLength(100);
  EXPECT_EQ(Text1().textCursor().selectedText(), QStringLiteral("ef"));
  box.SetSelStart(-3);
  EXPECT_EQ(Text1().textCursor().position(), 0);
}

TEST_F(QtWindowTest, MovingTheCaretScrollsItIntoView) {
  window.Show();
  core::TextBox& box = window.Text1();
  for (int line = 0; line < 200; ++line) {
    core::AppendLineToTextBox(box, "line " + std::to_string(line));
  }
  const QScrollBar& bar = *Text1().verticalScrollBar();
  ASSERT_GT(bar.maximum(), 0);
  EXPECT_EQ(bar.value(), bar.maximum());
  box.SetSelStart(0);
  EXPECT_EQ(Text1().verticalScrollBar()->value(), 0);
}

TEST_F(QtWindowTest, WaitingForEventsIsBoundedAndDoesNotSpin) {
  window.Show();
  for (int turn = 0; turn < 3; ++turn) {
    window.DoEvents();
  }
  using Clock = std::chrono::steady_clock;
  std::chrono::duration<double, std::milli> longest{0};
  const Clock::time_point start = Clock::now();
  for (int turn = 0; turn < 5; ++turn) {
    const Clock::time_point before = Clock::now();
    window.DoEvents();
    longest = std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - before));
  }
  const std::chrono::duration<double, std::milli> total = Clock::now() - start;
  EXPECT_LT(longest.count(), 250.0) << "an idle turn waits at most about 50 ms";
  EXPECT_GT(total.count(), 100.0) << "idle turns wait instead of returning at once";
}

TEST_F(QtWindowTest, AnEventEndsTheWaitEarly) {
  window.Show();
  window.SetCommand1Visible(true);
  window.DoEvents();
  auto* done = Find<QPushButton>("Command1");
  QTimer::singleShot(5, done, [done] { done->click(); });
  const auto start = std::chrono::steady_clock::now();
  while (!window::DonePressed &&
         std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
    window.DoEvents();
  }
  EXPECT_TRUE(window::DonePressed);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
}

}  // namespace
