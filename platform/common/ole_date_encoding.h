#pragma once

// OLE Automation dates, the form in which every target reports file times and the clock: days since
// 30 December 1899 00:00 local time, the fraction being the part of the day.

#include <cstdint>

namespace platform::common {

// The OLE date of a local calendar date and a second of that day (0 to 86399). Before 1899 the
// fraction still counts forward from midnight, as the format defines it.
double OleDateFromLocal(std::int64_t year, unsigned month, unsigned day, int secondOfDay);

}  // namespace platform::common
