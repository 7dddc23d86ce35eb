#include "tests/support/environment.h"

#include <stdlib.h>
#include <windows.h>

namespace test_support {

const char kPathListSeparator = ';';

void SetEnvironment(const std::string& name, const std::string& value) {
  _putenv_s(name.c_str(), value.c_str());
}

void MarkHidden(const std::filesystem::path& file) {
  SetFileAttributesW(file.wstring().c_str(), FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace test_support
