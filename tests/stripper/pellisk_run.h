#pragma once

// The built pellisk program run on real files in a folder of its own, as a user runs it from the
// system's command line.

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/host_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"

namespace stripper_test {

using Contents = std::map<std::string, std::string>;
using Environment = std::vector<std::pair<std::string, std::string>>;

inline const std::string kKeyed =
    "{\r\n\"classname\" \"worldspawn\"\r\n\"mapversion\" \"220\"\r\n}\r\n";
inline const std::string kStripped = "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n";

class PelliskTest : public ::testing::Test {
 protected:
  // Runs pellisk in the work folder with `arguments` as separate words.
  test_support::ProgramRun Pellisk(const std::vector<std::string>& arguments,
                                   const Environment& environment = {}) {
    return test_support::RunProgram(work_.path(), PELLISK_PATH, arguments, scratch_.path(),
                                    environment);
  }

  // Runs pellisk and expects a silent success.
  void Strip(const std::vector<std::string>& arguments, const Environment& environment = {}) {
    const test_support::ProgramRun outcome = Pellisk(arguments, environment);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
  }

  // Runs pellisk and expects a success with a warning on standard error, which it returns.
  std::string StripWarned(const std::vector<std::string>& arguments) {
    const test_support::ProgramRun outcome = Pellisk(arguments);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err.rfind("pellisk: warning: ", 0), 0u) << outcome.err;
    return outcome.err;
  }

  // Runs pellisk, expects a failure with `exitCode` (1, or 2 for a wrong command line) that leaves
  // the files alone, and returns its report.
  std::string Fail(const std::vector<std::string>& arguments, int exitCode = 1) {
    const Contents before = Files();
    const test_support::ProgramRun outcome = Pellisk(arguments);
    EXPECT_EQ(outcome.exitCode, exitCode);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(Files(), before);
    return outcome.err;
  }

  void Write(const std::string& name, const std::string& bytes) {
    test_support::WriteHostFile(work_ / name, bytes);
  }
  Contents Files() const { return test_support::FolderContents(work_.path()); }
  void Clear() {
    std::filesystem::remove_all(work_.path());
    std::filesystem::create_directory(work_.path());
  }

  test_support::TemporaryFolder work_;
  test_support::TemporaryFolder scratch_;
};

// Lines of a large map, with those that hold the key told apart.
struct LargeMap {
  std::string original;
  std::string stripped;
};

LargeMap MakeLargeMap(std::size_t bytes);

}  // namespace stripper_test
