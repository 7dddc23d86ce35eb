#include <gtest/gtest.h>

#include "core/date_text.h"

namespace {

constexpr double kSecond = 1.0 / 86400;

TEST(GeneralDateTime, ShowsDateAndTimeWithSeconds) {
  // 46362 is 6 December 2026.
  EXPECT_EQ(core::GeneralDateTime(46362 + (23 * 3600 + 47 * 60 + 7) * kSecond),
            "12/6/2026 11:47:07 PM");
  EXPECT_EQ(core::GeneralDateTime(46362 + 5 * kSecond), "12/6/2026 12:00:05 AM");
  EXPECT_EQ(core::GeneralDateTime(2 + 12 * 3600 * kSecond), "1/1/1900 12:00:00 PM");
  EXPECT_EQ(core::GeneralDateTime(46362), "12/6/2026");
  EXPECT_EQ(core::GeneralDateTime(0.5), "12:00:00 PM");
}

TEST(MinutesSeconds, DropsTheHours) {
  EXPECT_EQ(core::MinutesSeconds((3600 + 2 * 60 + 5) * kSecond), "02:05");
  EXPECT_EQ(core::MinutesSeconds(0), "00:00");
  EXPECT_EQ(core::MinutesSeconds(59 * kSecond), "00:59");
  // Two clock readings whose difference is not an exact binary fraction still give whole seconds.
  EXPECT_EQ(core::MinutesSeconds((46362 + 67 * kSecond) - 46362), "01:07");
}

}  // namespace
