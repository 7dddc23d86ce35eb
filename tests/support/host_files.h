#pragma once

// Whole host files for setting up and checking tests, past the programs' own file routines.

#include <filesystem>
#include <map>
#include <string>

namespace test_support {

void WriteHostFile(const std::filesystem::path& path, const std::string& content);
// The whole content of the host file, or "<missing>" when it cannot be read.
std::string ReadHostFile(const std::filesystem::path& path);

// Every regular file below `folder`, by its path relative to `folder`, with its content.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder);

}  // namespace test_support
