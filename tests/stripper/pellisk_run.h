#pragma once

// The built pellisk program run on real files in a folder of its own, as a user runs it from the
// system's command line: one table row per run.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
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

struct PelliskCase {
  const char* what;
  Contents files;
  std::vector<std::string> arguments;  // separate words of the command line
  int exitCode = 0;
  std::string report{};             // in its one line on standard error; empty: nothing there
  std::optional<Contents> after{};  // none: the files stay as they were
  // Readies what a table of contents cannot hold (a FIFO, a read-only file) in the work folder.
  void (*prepare)(const std::filesystem::path& work) = nullptr;
};

class PelliskTest : public ::testing::Test {
 protected:
  test_support::ProgramRun Pellisk(const std::vector<std::string>& arguments) {
    return test_support::RunProgram(work_.path(), PELLISK_PATH, arguments, scratch_.path());
  }

  void Check(const PelliskCase& c) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(work_.path());
    std::filesystem::create_directory(work_.path());
    for (const auto& [name, bytes] : c.files) {
      test_support::WriteHostFile(work_ / name, bytes);
    }
    if (c.prepare != nullptr) {
      c.prepare(work_.path());
    }
    const test_support::ProgramRun run = Pellisk(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(run.out, "");
    if (c.report.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_TRUE(run.err.starts_with("pellisk: ")) << run.err;
      EXPECT_NE(run.err.find(c.report), std::string::npos) << run.err;
      // One line, and the usage line after a wrong command line.
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), c.exitCode == 2 ? 2 : 1);
      EXPECT_TRUE(run.err.ends_with('\n'));
    }
    EXPECT_TRUE(Files() == c.after.value_or(c.files));
  }

  Contents Files() const { return test_support::FolderContents(work_.path()); }

  test_support::TemporaryFolder work_;
  test_support::TemporaryFolder scratch_;
};

}  // namespace stripper_test
