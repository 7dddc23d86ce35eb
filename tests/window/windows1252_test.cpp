#include "window/qt/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ScreenText, DecodesWindows1252) {
  EXPECT_EQ(window::ScreenText("\x80\x85\x8A\x91\x92\x96\x99\x9F"),
            QString::fromUtf8("\u20AC\u2026\u0160\u2018\u2019\u2013\u2122\u0178"));
  EXPECT_EQ(window::ScreenText("\x81\x8D\x8F\x90\x9D"),
            QString::fromUtf8("\u0081\u008D\u008F\u0090\u009D"));
  EXPECT_EQ(window::ScreenText("caf\xE9 \xA0\xFF plain"),
            QString::fromUtf8("caf\u00E9 \u00A0\u00FF plain"));
  EXPECT_EQ(window::ScreenText(std::string("a\0b", 3)), QString::fromLatin1("a\0b", 3));
}

TEST(ScreenText, EveryKindOfLineBreakIsOneBreak) {
  EXPECT_EQ(window::ScreenText("a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
  EXPECT_EQ(window::ScreenText("\r\r\n\n\r"), QStringLiteral("\n\n\n\n"));
  EXPECT_EQ(window::ScreenText("\n\r"), QStringLiteral("\n\n"));
}

}  // namespace
