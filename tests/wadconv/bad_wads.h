#pragma once

// One small malformed WAD2 per fault the converter must catch, each with a piece of the error
// text that names the fault.

#include <cstdint>
#include <string>
#include <vector>

struct BadWad {
  std::string fault;    // what is wrong, for test messages
  std::string message;  // a piece of the expected error line
  std::vector<std::uint8_t> bytes;
};

std::vector<BadWad> BadWads();
