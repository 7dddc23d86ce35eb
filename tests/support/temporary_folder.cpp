#include "tests/support/temporary_folder.h"

#include <random>
#include <stdexcept>

namespace test_support {

TemporaryFolder::TemporaryFolder(const std::string& kind) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = std::filesystem::temp_directory_path() / (kind + "-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) {
      return;
    }
  }
  throw std::runtime_error("no free name for a test folder");
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace test_support
