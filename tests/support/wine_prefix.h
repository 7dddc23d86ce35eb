#pragma once

// Throw-away Wine prefixes, so that drive c: and the paths below it never touch the user's own
// prefix.

#include <filesystem>
#include <string>

#include "tests/support/temporary_folder.h"

namespace test_support {

// Creates a fresh prefix with its drive_c folder under the system's temporary folder, its name
// starting with `kind`, and makes it WINEPREFIX for this process and the programs it starts. For a
// whole test program; the caller removes it.
std::filesystem::path MakeTemporaryWinePrefix(const std::string& kind);
// Where the platform puts drive c: (the prefix's drive_c, or on Windows the drive itself).
std::filesystem::path DriveC();

// A prefix of one test's own: WINEPREFIX while it lives; removed with it, after the process has
// gone back to the working folder it had before.
class TemporaryWinePrefix {
 public:
  explicit TemporaryWinePrefix(const std::string& kind = "korvane-prefix");
  ~TemporaryWinePrefix();
  TemporaryWinePrefix(const TemporaryWinePrefix&) = delete;
  TemporaryWinePrefix& operator=(const TemporaryWinePrefix&) = delete;

  const std::filesystem::path& path() const { return folder_.path(); }
  // The host path of `path` ("/"-separated) below drive_c.
  std::string OnC(const std::string& path = "") const;

 private:
  std::filesystem::path startFolder_;
  TemporaryFolder folder_;
};

}  // namespace test_support
