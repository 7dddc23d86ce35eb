#pragma once

// The built pellisk program run on real files in a folder of its own, as a user runs it from the
// system's command line.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/host_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"

namespace stripper_test {

using Contents = std::map<std::string, std::string>;

inline const std::string kKeyed =
    "{\r\n\"classname\" \"worldspawn\"\r\n\"mapversion\" \"220\"\r\n}\r\n";
inline const std::string kStripped = "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n";

class PelliskTest : public ::testing::Test {
 protected:
  test_support::ProgramRun Pellisk(const std::vector<std::string>& arguments) {
    return test_support::RunProgram(work_.path(), PELLISK_PATH, arguments, scratch_.path());
  }

  Contents Files() const { return test_support::FolderContents(work_.path()); }

  test_support::TemporaryFolder work_;
  test_support::TemporaryFolder scratch_;
};

}  // namespace stripper_test
