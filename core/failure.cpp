#include "core/failure.h"

namespace core {

SystemFailure::SystemFailure(const std::string& step, platform::Error error)
    : std::runtime_error(step + ": " + platform::ErrorDescription(error) + " (error " +
                         std::to_string(error) + ")"),
      error_(error) {}

}  // namespace core
