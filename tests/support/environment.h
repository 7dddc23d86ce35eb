#pragma once

#include <filesystem>
#include <string>

namespace test_support {

// What separates the folders of PATH.
extern const char kPathListSeparator;

// Sets an environment variable of the test program, which the programs it starts inherit.
void SetEnvironment(const std::string& name, const std::string& value);
// Hides a file whose name starts with ".": such names are hidden on POSIX already, while Windows
// needs the hidden attribute.
void MarkHidden(const std::filesystem::path& file);

}  // namespace test_support
