#include <gtest/gtest.h>

#include <filesystem>

#include "tests/stripper/pellisk_run.h"

namespace stripper_test {
namespace {

// How it takes its command line, its exit statuses and reports, the refusals only a real disk
// shows.
TEST_F(PelliskTest, TakesTheWholeCommandLineAsOneMapNameAndExitsWithWhatHappened) {
  const Contents spaced = {{"My Maps/a b.map", kKeyed}};
  const Contents blank = {{".map", kKeyed}};
  const PelliskCase cases[] = {
      {"in words", spaced, {"My", "Maps/a", "b.map"}, 0, "", {{{"My Maps/a b.map", kStripped}}}},
      {"a warning",
       {{"v.map", "\"mapversion\" \"220\"\n( [\n"}},
       {"v.map"},
       0,
       "warning: v.map has Valve 220 faces",
       {{{"v.map", "( [\r\n"}}}},
      {"two names",
       {},
       {"\"a.map\"", "\"b.map\""},
       1,
       "Cannot open the map file a.map\" \"b.map: "},
      {"a folder", {{"d.map/x.map", kKeyed}}, {"d.map"}, 1, "Refusing d.map: it is a folder"},
      {"no name", blank, {}, 2, "pellisk: no map file named\nusage: pellisk"},
      {"blank in quotes", blank, {"\" \""}, 2, "no map file named"},
      {"read-only",
       {{"r.map", kKeyed}},
       {"r.map"},
       1,
       "Refusing r.map: the map file is read-only",
       std::nullopt,
       [](const std::filesystem::path& work) {
         std::filesystem::permissions(work / "r.map", std::filesystem::perms::owner_write,
                                      std::filesystem::perm_options::remove);
       }},
  };
  for (const PelliskCase& c : cases) {
    Check(c);
  }
  // The read-only map, last, becomes writable again for the work folder's removal.
  std::filesystem::permissions(work_ / "r.map", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

}  // namespace
}  // namespace stripper_test
