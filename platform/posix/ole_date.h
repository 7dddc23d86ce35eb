#pragma once

#include <ctime>

namespace platform::posix {

// `moment` as local date and time at whole seconds, encoded as an OLE Automation date: days since
// 30 December 1899 00:00, the fraction being the part of the day. Before that day the whole days
// count down while the fraction still counts forward, as the encoding defines (-1.25 is
// 29 December 1899 06:00).
double OleDateOf(std::time_t moment);

}  // namespace platform::posix
