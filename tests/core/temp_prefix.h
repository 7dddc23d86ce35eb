#pragma once

#include <string>

#include "tests/support/host_files.h"

// A temporary WINEPREFIX for the whole test program: drive c: is its drive_c folder. Created before
// the first test, removed after the last.
namespace testing_support {

// Host path of the prefix's drive_c folder.
const std::string& DriveC();
using test_support::ReadHostFile;
using test_support::WriteHostFile;

}  // namespace testing_support
