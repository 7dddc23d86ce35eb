#include "tests/support/environment.h"

#include <stdlib.h>

namespace test_support {

const char kPathListSeparator = ':';

void SetEnvironment(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

void MarkHidden(const std::filesystem::path&) {}

}  // namespace test_support
