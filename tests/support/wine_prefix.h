#pragma once

// A throw-away Wine prefix for a whole test program, so that drive c: and the paths below it never
// touch the user's own prefix.

#include <filesystem>
#include <string>

namespace test_support {

// Creates a fresh prefix with its drive_c folder under the system's temporary folder, its name
// starting with `kind`, and makes it WINEPREFIX for this process and the programs it starts.
std::filesystem::path MakeTemporaryWinePrefix(const std::string& kind);
// Where the platform puts drive c: (the prefix's drive_c, or on Windows the drive itself).
std::filesystem::path DriveC();

}  // namespace test_support
