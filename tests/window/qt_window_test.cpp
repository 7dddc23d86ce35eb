// What only the Qt window has: its screen text, line by line, and a frame that stays fixed.

#include <gtest/gtest.h>

#include <string>

#include "window/qt/qt_progress_window.h"
#include "window/qt/windows1252.h"

namespace {

TEST(ScreenText, DecodesEachLineAsUtf8OrElseAsWindows1252) {
  const std::string cases[][2] = {
      {"\x80\x85\x8A\x91\x99\x9F", "\u20AC\u2026\u0160\u2018\u2122\u0178"},
      {"\x81\x8D\x8F\x90\x9D\xA0\xFF", "\u0081\u008D\u008F\u0090\u009D\u00A0\u00FF"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"\n\r\r\n\n\r", "\n\n\n\n\n"},
      {"\xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBB\xBF \xF4\x8F\xBF\xBF",
       "\u20AC \U0001F600 \uFEFF \U0010FFFF"},
      // One stray Windows-1252 byte makes the whole line Windows-1252.
      {"\xC3\x84 caf\xE9", "\u00C3\u201E caf\u00E9"},
      {"\xC3\x84\r\n\xC4\r\xC3\x96\n\xD6", "\u00C4\n\u00C4\n\u00D6\n\u00D6"},
      // A character is never split by a line break: the break ends the line first.
      {"\xC3\n\x84", "\u00C3\n\u201E"},
      // A decision line cuts its path at a fixed byte, perhaps inside a character, before ": ".
      {"\xC3\xA9t\xE2\x82: Ok", "\xC3\xA9t: Ok"},
      {"x\xF0\x9F\x98: Ok", "x: Ok"},
      // Not the start of any character: the line is Windows-1252.
      {"\xED\xA0: Ok", "\xC3\xAD\xC2\xA0: Ok"},
      {"\xC3\xA9\xC3 Ok", "\xC3\x83\xC2\xA9\xC3\x83 Ok"},
      // Overlong, a surrogate, beyond U+10FFFF, cut short, a lone continuation, no lead byte.
      {"\xC0\x80\n\xE0\x80\xAF\n\xED\xA0\x80\n\xF4\x90\x80\x80\n\xE2\x82\n\x80\n\xF8\x88\x80\x80",
       "\u00C0\u20AC\n\u00E0\u20AC\u00AF\n\u00ED\u00A0\u20AC\n\u00F4\u0090\u20AC\u20AC\n\u00E2"
       "\u201A\n\u20AC\n"
       "\u00F8\u02C6\u20AC\u20AC"},
  };
  for (const auto& [bytes, shown] : cases) {
    EXPECT_EQ(window::ScreenText(bytes).toStdString(), shown) << bytes;
  }
}

TEST(QtWindow, ShowingKeepsTheFixedFrameWithTheIconAndUnloadingDropsIt) {
  window::QtProgressWindow window;
  window.Load();
  const QWidget& form = *window.Form();
  const Qt::WindowFlags flags = form.windowFlags();
  window.Show();
  EXPECT_EQ(form.windowFlags(), flags);
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint) &&
              flags.testFlag(Qt::WindowCloseButtonHint) &&
              !flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowIcon().isNull());
  window.Unload();
  EXPECT_EQ(window.Form(), nullptr);
}

}  // namespace
