#include "platform/common/ole_date_encoding.h"

namespace platform::common {

namespace {

// Days from 1 January 1970 to the given date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

// 30 December 1899 counted from 1 January 1970.
constexpr std::int64_t kOleEpochDays = -25569;

}  // namespace

double OleDateFromLocal(std::int64_t year, unsigned month, unsigned day, int secondOfDay) {
  const std::int64_t days = DaysFromCivil(year, month, day) - kOleEpochDays;
  const double fraction = secondOfDay / 86400.0;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

}  // namespace platform::common
