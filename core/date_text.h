#pragma once

// Text forms of OLE Automation dates (days since 30 December 1899 00:00, the fraction being the
// part of the day), as the clock of the platform layer gives them.

#include <string>

namespace core {

// The general date-and-time form: month/day/year, a blank, the time of day with seconds and AM or
// PM, such as "12/6/2026 11:47:07 PM". A date with no time part shows the date alone, a time on
// 30 December 1899 the time alone.
std::string GeneralDateTime(double oleDate);
// Minutes and seconds of a time difference, two digits each, hours dropped: "02:05" for 1:02:05.
std::string MinutesSeconds(double difference);

}  // namespace core
