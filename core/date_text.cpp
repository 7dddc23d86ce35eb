#include "core/date_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace core {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysFrom1899To1970 = 25569;

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

// Proleptic Gregorian date of a day count since 1 January 1970.
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Splits an OLE date into whole days and seconds of the day; before 1899 the fraction still counts
// forward from midnight, as the format defines it.
void Split(double oleDate, std::int64_t& days, std::int64_t& seconds) {
  const double whole = std::trunc(oleDate);
  days = static_cast<std::int64_t>(whole);
  seconds = std::llround(std::fabs(oleDate - whole) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    days += oleDate < 0 ? -1 : 1;
  }
}

}  // namespace

std::string GeneralDateTime(double oleDate) {
  if (!std::isfinite(oleDate) || std::fabs(oleDate) > 3e6) {
    return "?";
  }
  std::int64_t days = 0;
  std::int64_t seconds = 0;
  Split(oleDate, days, seconds);
  char date[48] = "";
  if (days != 0) {
    const CivilDate civil = CivilFromDays(days - kDaysFrom1899To1970);
    std::snprintf(date, sizeof date, "%u/%u/%lld", civil.month, civil.day,
                  static_cast<long long>(civil.year));
  }
  char time[32] = "";
  if (seconds != 0 || days == 0) {
    const auto hour = static_cast<int>(seconds / 3600);
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    std::snprintf(time, sizeof time, "%d:%02d:%02d %s", hour12, static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60), hour < 12 ? "AM" : "PM");
  }
  if (date[0] != '\0' && time[0] != '\0') {
    return std::string(date) + " " + time;
  }
  return std::string(date) + time;
}

std::string MinutesSeconds(double difference) {
  if (!std::isfinite(difference)) {
    return "00:00";
  }
  std::int64_t days = 0;
  std::int64_t seconds = 0;
  Split(difference, days, seconds);
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(seconds / 60 % 60),
                static_cast<int>(seconds % 60));
  return text;
}

}  // namespace core
