#pragma once

// A temporary WINEPREFIX for the whole test program: drive c: is its drive_c folder. Created before
// the first test, removed after the last; test_support::DriveC() tells where it lies.

#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"
