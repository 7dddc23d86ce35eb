#pragma once

#include <string>

// A temporary WINEPREFIX for the whole test program: drive c: is its drive_c folder. Created before
// the first test, removed after the last.
namespace testing_support {

// Host path of the prefix's drive_c folder.
const std::string& DriveC();
// Writes `content` to the host file `path`.
void WriteHostFile(const std::string& path, const std::string& content);
// The whole content of the host file `path`, or "<missing>".
std::string ReadHostFile(const std::string& path);

}  // namespace testing_support
