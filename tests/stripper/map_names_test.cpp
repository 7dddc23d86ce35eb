#include "stripper/map_names.h"

#include <gtest/gtest.h>

namespace stripper {
namespace {

TEST(MapFileName, TrimsSpacesAndRemovesOneQuoteAtEachEnd) {
  EXPECT_EQ(MapFileName("  \"C:\\My Maps\\a b.map\"  "), "C:\\My Maps\\a b.map");
  EXPECT_EQ(MapFileName("\"level1.map"), "level1.map");
  EXPECT_EQ(MapFileName("level1.map\""), "level1.map");
  EXPECT_EQ(MapFileName("\"\"level1.map\"\""), "\"level1.map\"");
  // Tabs are not spaces, and the name is not trimmed again after unquoting.
  EXPECT_EQ(MapFileName("\tlevel1.map"), "\tlevel1.map");
  EXPECT_EQ(MapFileName("\" level1.map \""), " level1.map ");
  // Two quoted names stay one name, inner quotes and all.
  EXPECT_EQ(MapFileName("\"a.map\" \"b.map\""), "a.map\" \"b.map");
}

TEST(MapFileName, AddsMapOnlyWhenTheNameHoldsNoDot) {
  EXPECT_EQ(MapFileName("C:\\Maps\\level1"), "C:\\Maps\\level1.map");
  EXPECT_EQ(MapFileName("maps/Level1"), "maps/Level1.map");
  EXPECT_EQ(MapFileName("C:\\My.Maps\\level1"), "C:\\My.Maps\\level1");
  EXPECT_EQ(MapFileName("level1.TXT"), "level1.TXT");
  EXPECT_EQ(MapFileName("level1."), "level1.");
  EXPECT_EQ(MapFileName(""), ".map");
  EXPECT_EQ(MapFileName("\"\""), ".map");
}

TEST(NamesOfMap, PutsALowerCaseBackupInTheMapsOwnFolder) {
  const struct {
    const char* map;
    const char* backup;
  } cases[] = {
      {"C:\\Maps\\Level1.MAP", "C:\\Maps\\level1.bkr"},
      {"Level1.MAP", "level1.bkr"},
      {"maps/Level1.MAP", "maps/level1.bkr"},
      {"/home/Me/Maps/Level1.map", "/home/Me/Maps/level1.bkr"},
      {"C:\\My.Maps\\Level1", "C:\\My.Maps\\level1.bkr"},
      {"C:\\Maps\\Level1.txt", "C:\\Maps\\level1.bkr"},
      {"a\\B/Base.old.map", "a\\B/base.old.bkr"},
      {".map", ".bkr"},
  };
  for (const auto& c : cases) {
    const MapNames names = NamesOfMap(c.map);
    EXPECT_EQ(names.map, c.map);
    EXPECT_EQ(names.backup, c.backup) << c.map;
    EXPECT_EQ(names.temporary, std::string(c.backup) + ".tmp") << c.map;
  }
}

TEST(BackupIsMapItself, HoldsForEveryBkrNameAndNoOther) {
  for (const char* name :
       {"level1.bkr", "C:\\Maps\\Level1.BKR", "maps/a.Bkr", "level1.bkr ", "/x.y/z.bkr"}) {
    EXPECT_TRUE(BackupIsMapItself(NamesOfMap(name))) << name;
  }
  for (const char* name : {"level1.map", "level1.bkr.map", "level1.bkrx", "my.bkr\\level1",
                           "level1.bk", "level1.bkr.", ".map"}) {
    EXPECT_FALSE(BackupIsMapItself(NamesOfMap(name))) << name;
  }
}

}  // namespace
}  // namespace stripper
