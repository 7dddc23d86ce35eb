#pragma once

#include <string>

namespace test_support {

// Sets an environment variable of the test program, which the programs it starts inherit.
void SetEnvironment(const std::string& name, const std::string& value);

}  // namespace test_support
