#include "stripper/map_names.h"

#include <gtest/gtest.h>

namespace stripper {
namespace {

// From the argument text as a Windows user writes it to the map's name, its lower-case backup in
// the map's own folder, and whether that backup would be the map itself.
TEST(MapNames, FollowTheArgumentText) {
  const struct {
    const char* argument;
    const char* map;
    const char* backup;
    bool backupIsMap = false;
  } cases[] = {
      {"  \"C:\\My Maps\\a b.map\"  ", "C:\\My Maps\\a b.map", "C:\\My Maps\\a b.bkr"},
      {"\"level1.map", "level1.map", "level1.bkr"},
      {"Level1.MAP\"", "Level1.MAP", "level1.bkr"},
      {"\"\"level1.map\"\"", "\"level1.map\"", "\"level1.bkr"},
      // Tabs are not spaces, and the name is not trimmed again after unquoting.
      {"\tlevel1.map", "\tlevel1.map", "\tlevel1.bkr"},
      {"\" level1.map \"", " level1.map ", " level1.bkr"},
      {"\"a.map\" \"b.map\"", "a.map\" \"b.map", "a.map\" \"b.bkr"},
      {"C:\\Maps\\Level1", "C:\\Maps\\Level1.map", "C:\\Maps\\level1.bkr"},
      {"maps/Level1", "maps/Level1.map", "maps/level1.bkr"},
      {"C:\\My.Maps\\Level1", "C:\\My.Maps\\Level1", "C:\\My.Maps\\level1.bkr"},
      {"/home/Me/Maps/Level1.TXT", "/home/Me/Maps/Level1.TXT", "/home/Me/Maps/level1.bkr"},
      {"a\\B/Base.old.map", "a\\B/Base.old.map", "a\\B/base.old.bkr"},
      {"level1.", "level1.", "level1.bkr"},
      {"", ".map", ".bkr"},
      {"C:\\Maps\\Level1.BKR", "C:\\Maps\\Level1.BKR", "C:\\Maps\\level1.bkr", true},
      {"\"level1.bkr \"", "level1.bkr ", "level1.bkr", true},
      {"/x.y/z.bkr", "/x.y/z.bkr", "/x.y/z.bkr", true},
      {"level1.bkr.map", "level1.bkr.map", "level1.bkr.bkr"},
      {"level1.bkrx", "level1.bkrx", "level1.bkr"},
      {"my.bkr\\level1", "my.bkr\\level1", "my.bkr\\level1.bkr"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    const MapNames names = NamesOfMap(MapFileName(c.argument));
    EXPECT_EQ(names.map, c.map);
    EXPECT_EQ(names.backup, c.backup);
    EXPECT_EQ(names.temporary, std::string(c.backup) + ".tmp");
    EXPECT_EQ(BackupIsMapItself(names), c.backupIsMap);
  }
}

}  // namespace
}  // namespace stripper
