#pragma once

#include <windows.h>

namespace platform::win32 {

// A local date and time at whole seconds, encoded as an OLE Automation date: days since
// 30 December 1899 00:00, the fraction being the part of the day. Before that day the whole days
// count down while the fraction still counts forward, as the encoding defines (-1.25 is
// 29 December 1899 06:00). Milliseconds are dropped.
double OleDateOf(const SYSTEMTIME& local);
// A file time (UTC) as the local date and time of its own day, with the daylight-saving rule that
// held then rather than the one in force now.
bool LocalTimeOf(const FILETIME& fileTime, SYSTEMTIME& local);

}  // namespace platform::win32
