#include "platform/win32/ole_date.h"

#include <cstdint>

#include "platform/common/ole_date_encoding.h"
#include "platform/platform.h"

namespace platform::win32 {

double OleDateOf(const SYSTEMTIME& local) {
  return common::OleDateFromLocal(local.wYear, local.wMonth, local.wDay,
                                  local.wHour * 3600 + local.wMinute * 60 + local.wSecond);
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
