#pragma once

// What is wrong with an input, in words for the user; empty when nothing is.

#include <optional>
#include <string>

namespace wadconv {

using Fault = std::optional<std::string>;

}  // namespace wadconv
