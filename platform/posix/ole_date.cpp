#include "platform/posix/ole_date.h"

#include <cstdint>
#include <ctime>

#include "platform/common/ole_date_encoding.h"
#include "platform/platform.h"

namespace platform::posix {

double OleDateOf(std::time_t moment) {
  std::tm local{};
  if (localtime_r(&moment, &local) == nullptr) {
    return 0;
  }
  return common::OleDateFromLocal(static_cast<std::int64_t>(local.tm_year) + 1900,
                                  static_cast<unsigned>(local.tm_mon + 1),
                                  static_cast<unsigned>(local.tm_mday),
                                  local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

}  // namespace platform::posix

namespace platform {

double LocalNow() {
  return posix::OleDateOf(std::time(nullptr));
}

}  // namespace platform
