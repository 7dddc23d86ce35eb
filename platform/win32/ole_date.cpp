#include "platform/win32/ole_date.h"

#include <cstdint>

#include "platform/platform.h"

namespace platform::win32 {

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

double OleDateOf(const SYSTEMTIME& local) {
  const std::int64_t days = DaysFromCivil(local.wYear, local.wMonth, local.wDay) - kOleEpochDays;
  const int seconds = local.wHour * 3600 + local.wMinute * 60 + local.wSecond;
  const double fraction = seconds / 86400.0;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

bool LocalTimeOf(const FILETIME& fileTime, SYSTEMTIME& local) {
  SYSTEMTIME universal{};
  return FileTimeToSystemTime(&fileTime, &universal) != 0 &&
         SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) != 0;
}

}  // namespace platform::win32

namespace platform {

double LocalNow() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return win32::OleDateOf(local);
}

}  // namespace platform
