#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "tests/stripper/pellisk_run.h"

namespace stripper_test {
namespace {

namespace fs = std::filesystem;

// Command line (words joined, any letter case), exit statuses, reports in one line on standard
// error and nothing on standard output, and the refusals only a real disk shows.
TEST_F(PelliskTest, TakesTheWholeCommandLineAsOneMapNameAndExitsWithWhatHappened) {
  const Contents blank = {{".map", kKeyed}};
  const std::string key = "\"mapversion\" \"220\"";
  const struct {
    Contents files;
    std::vector<std::string> arguments;  // separate words of the command line
    int exitCode;
    std::string report;               // empty: nothing on standard error
    std::optional<Contents> after{};  // none: the files stay as they were
    bool readOnly = false;            // the map file "r.map"
  } cases[] = {
      {{{"A B/c d.map", kKeyed}}, {"A", "B/C", "D.MAP"}, 0, "", {{{"A B/c d.map", kStripped}}}},
      {{{"v.map", key + "\n( ["}}, {"v"}, 0, "warning: v.map has Valve", {{{"v.map", "( [\r\n"}}}},
      {{}, {"\"a.map\"", "\"b.map\""}, 1, "Cannot open the map file a.map\" \"b.map: "},
      {{{"d.map/x.map", kKeyed}}, {"d.map"}, 1, "Refusing d.map: it is a folder"},
      {blank, {}, 2, "pellisk: no map file named\nusage: pellisk"},
      {blank, {"\" \""}, 2, "no map file named"},
      {{{"r.map", kKeyed}}, {"r.map"}, 1, "Refusing r.map: the map file is read-only", {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.report);
    fs::remove_all(work_.path());
    fs::create_directory(work_.path());
    for (const auto& [name, bytes] : c.files) {
      test_support::WriteHostFile(work_ / name, bytes);
    }
    if (c.readOnly) {
      fs::permissions(work_ / "r.map", fs::perms::owner_write, fs::perm_options::remove);
    }
    const test_support::ProgramRun run = Pellisk(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(run.out, "");
    if (c.report.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_TRUE(run.err.starts_with("pellisk: ")) << run.err;
      EXPECT_NE(run.err.find(c.report), std::string::npos) << run.err;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), c.exitCode == 2 ? 2 : 1);
      EXPECT_TRUE(run.err.ends_with('\n'));
    }
    EXPECT_TRUE(Files() == c.after.value_or(c.files));
    if (c.readOnly) {
      fs::permissions(work_ / "r.map", fs::perms::owner_write, fs::perm_options::add);
    }
  }
}

}  // namespace
}  // namespace stripper_test
