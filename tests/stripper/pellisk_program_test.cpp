// The built pellisk program on real files: how it takes its command line, its exit statuses and
// reports, and the refusals only a real disk shows.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/stripper/pellisk_run.h"

namespace stripper_test {
namespace {

void MakeReadOnly(const std::filesystem::path& work) {
  std::filesystem::permissions(work / "r.map", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
}

TEST_F(PelliskTest, TakesTheWholeCommandLineAsOneMapNameAndExitsWithWhatHappened) {
  const Contents spaced = {{"My Maps/a b.map", kKeyed}};
  const Contents spacedDone = {{"My Maps/a b.map", kStripped}};
  const Contents blank = {{".map", kKeyed}};
  const PelliskCase cases[] = {
      {"quoted", spaced, {"\"My Maps/a b.map\""}, 0, "", spacedDone},
      {"in words", spaced, {"My", "Maps/a", "b.map"}, 0, "", spacedDone},
      {"one quote, leading spaces", spaced, {"  \"My Maps/a b.map"}, 0, "", spacedDone},
      {"quoted without extension", spaced, {"\"My Maps/a b\""}, 0, "", spacedDone},
      {"letter case", {{"Jam.map", kKeyed}}, {"jam"}, 0, "", Contents{{"Jam.map", kStripped}}},
      {"a warning",
       {{"v.map", "\"mapversion\" \"220\"\n( [\n"}},
       {"v.map"},
       0,
       "warning: v.map has Valve 220 faces",
       Contents{{"v.map", "( [\r\n"}}},
      {"two names",
       {{"a.map", kKeyed}, {"b.map", kKeyed}},
       {"\"a.map\"", "\"b.map\""},
       1,
       "Cannot open the map file a.map\" \"b.map: "},
      {"a folder", {{"d.map/x.map", kKeyed}}, {"d.map"}, 1, "Refusing d.map: it is a folder"},
      {"no name", blank, {}, 2, "pellisk: no map file named\nusage: pellisk"},
      {"an empty name", blank, {"\"\""}, 2, "no map file named"},
      {"blank", blank, {" "}, 2, "no map file named"},
      {"blank in quotes", blank, {"\" \""}, 2, "no map file named"},
      {"read-only",
       {{"r.map", kKeyed}},
       {"r.map"},
       1,
       "Refusing r.map: the map file is read-only",
       std::nullopt,
       MakeReadOnly},
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
