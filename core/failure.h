#pragma once

// A failed operating-system step that ends the program: the few steps that have no recovery raise
// it, and each program's main turns it into an error report and a non-zero exit.

#include <stdexcept>
#include <string>

#include "platform/platform.h"

namespace core {

class SystemFailure : public std::runtime_error {
 public:
  // `step` says what was attempted, such as "Cannot make c:\maps the current folder".
  SystemFailure(const std::string& step, platform::Error error);

  platform::Error error() const { return error_; }

 private:
  platform::Error error_;
};

}  // namespace core
