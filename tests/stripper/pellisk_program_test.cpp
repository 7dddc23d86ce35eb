// The built pellisk program run on real files: argument forms, line rules and reports.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tests/stripper/pellisk_run.h"

namespace stripper_test {

LargeMap MakeLargeMap(std::size_t bytes) {
  LargeMap map;
  for (std::size_t i = 0; map.original.size() < bytes; ++i) {
    std::string line = "( " + std::to_string(i % 4096) + " -64 " + std::to_string(i % 977) +
                       " ) ( 0 64 0 ) ( 0 0 64 ) BRICK" + std::to_string(i % 13) +
                       " [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1";
    if (i % 100 == 7) {
      line = i % 200 == 7 ? "\"MapVersion\" \"" + std::to_string(i) + "\"" : line + " MAPVERSION";
    } else {
      map.stripped += line + "\r\n";
    }
    map.original += line + "\r\n";
  }
  return map;
}

namespace {

std::size_t LineCount(const std::string& text) {
  std::size_t lines = 0;
  for (const char c : text) {
    lines += c == '\n' ? 1 : 0;
  }
  return lines;
}

TEST_F(PelliskTest, TakesTheWholeArgumentTextAsOneNameQuotedOrNot) {
  const std::vector<std::vector<std::string>> forms = {{"\"My Maps/a b.map\""},
                                                       {"My", "Maps/a", "b.map"},
                                                       {"  \"My Maps/a b.map"},
                                                       {"My Maps/a b.map\""},
                                                       {"\"My Maps/a b\""}};
  for (const auto& form : forms) {
    SCOPED_TRACE(form.front());
    Write("My Maps/a b.map", kKeyed);
    Strip(form);
    EXPECT_EQ(Files(), (Contents{{"My Maps/a b.map", kStripped}}));
  }
}

TEST_F(PelliskTest, TwoNamesAreOneNameThatIsNotFound) {
  Write("a.map", kKeyed);
  Write("b.map", kKeyed);
  const std::string report = Fail({"\"a.map\"", "\"b.map\""});
  EXPECT_EQ(LineCount(report), 1u);
  EXPECT_NE(report.find("Cannot open the map file a.map\" \"b.map: "), std::string::npos) << report;
}

TEST_F(PelliskTest, AddsMapOnlyToANameWithoutAnyDot) {
  const Contents start = {{"level1", kKeyed},
                          {"level1.map", kKeyed},
                          {"level1.txt", kKeyed},
                          {"my.maps/level1", kKeyed},
                          {"my.maps/level1.map", kKeyed}};
  for (const auto& [name, bytes] : start) {
    Write(name, bytes);
  }
  Strip({"level1"});
  Strip({"my.maps/level1"});
  Contents expected = start;
  expected["level1.map"] = kStripped;
  expected["my.maps/level1"] = kStripped;
  EXPECT_EQ(Files(), expected);
  // Any extension is taken as it is.
  Strip({"level1.txt"});
  expected["level1.txt"] = kStripped;
  EXPECT_EQ(Files(), expected);
}

TEST_F(PelliskTest, FindsBareNamesAndSlashPaths) {
  Write("Level1.map", kKeyed);
  Strip({"Level1.map"});
  Write("maps/Level2.MAP", kKeyed);
  Strip({"maps/Level2.MAP"});
  Write("maps/deeper/level3.map", kKeyed);
  Strip({(work_ / "maps/deeper/level3.map").string()});
  EXPECT_EQ(Files(), (Contents{{"Level1.map", kStripped},
                               {"maps/Level2.MAP", kStripped},
                               {"maps/deeper/level3.map", kStripped}}));
}

// Each case is refused with one line naming the file and the cause, and changes nothing.
TEST_F(PelliskTest, RefusesWhatItCouldLoseOrMisreadBeforeTouchingAnything) {
  const struct {
    const char* what;
    Contents files;
    const char* argument;
    std::string report;
  } cases[] = {
      {"a name that is its own backup",
       {{"Level1.BKR", kKeyed}},
       "Level1.BKR",
       "Refusing Level1.BKR: its backup name level1.bkr is the file itself"},
      {"a backup from before",
       {{"m.map", kKeyed}, {"m.bkr", "old"}},
       "m.map",
       "Refusing m.map: m.bkr already exists and may be the only copy of a map"},
      {"a temporary file from before",
       {{"m.map", kKeyed}, {"m.bkr.tmp", "x"}},
       "m.map",
       "Refusing m.map: m.bkr.tmp already exists"},
      {"a run stopped between its renames",
       {{"m.bkr", kKeyed}, {"m.bkr.tmp", kStripped}},
       "m.map",
       "; m.bkr holds a map's content left by an interrupted run: rename it to m.map, delete "
       "m.bkr.tmp and run pellisk again"},
      {"a texture WAD",
       {{"x.wad", std::string("WAD2\0\0\0\0\x0c\0\0\0", 12)}},
       "x.wad",
       "Refusing x.wad: it holds NUL bytes, so it is not a text map"},
      {"a UTF-16 map",
       {{"u.map", std::string("\xff\xfe{\0\r\0\n\0}\0", 10)}},
       "u",
       "Refusing u.map: it holds NUL bytes"},
      {"a folder",
       {{"d.map/inside.map", kKeyed}},
       "d.map",
       "Refusing d.map: it is a folder, not a map file"},
      {"a read-only map",
       {{"r.map", kKeyed}},
       "r.map",
       "Refusing r.map: the map file is read-only"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& [name, bytes] : c.files) {
      Write(name, bytes);
    }
    // Only the read-only case has an r.map.
    std::error_code ignored;
    std::filesystem::permissions(work_ / "r.map", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove, ignored);
    const std::string report = Fail({c.argument});
    EXPECT_NE(report.find(c.report), std::string::npos) << report;
    EXPECT_EQ(LineCount(report), 1u) << report;
    std::filesystem::permissions(work_ / "r.map", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
    Clear();
  }
}

TEST_F(PelliskTest, KeepsTheNameAsItIsOnDisk) {
  Write("Rabbit_Jam.map", kKeyed);
  Strip({"rabbit_jam"});
  EXPECT_EQ(Files(), (Contents{{"Rabbit_Jam.map", kStripped}}));
}

TEST_F(PelliskTest, AnEmptyArgumentIsAWrongCommandLine) {
  Write(".map", kKeyed);
  for (const auto& form : std::vector<std::vector<std::string>>{{}, {"\"\""}, {" "}, {"\" \""}}) {
    const test_support::ProgramRun run = Pellisk(form);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pellisk: no map file named\nusage: pellisk MAPFILE\n");
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(Files(), (Contents{{".map", kKeyed}}));
}

TEST_F(PelliskTest, WritesKeptLinesAsReadWithCrLfEnds) {
  const struct {
    const char* what;
    std::string in;
    std::string out;
  } cases[] = {
      {"CR LF", "a\r\nb\r\n", "a\r\nb\r\n"},
      {"lone CR", "a\rb\r", "a\r\nb\r\n"},
      {"lone LF", "a\nb\r\nc\n", "a\r\nb\r\nc\r\n"},
      {"lone LF before CR LF", "a\n\r\nb", "a\r\n\r\nb\r\n"},
      {"last line without line end", "a\r\nb", "a\r\nb\r\n"},
      {"empty file", "", ""},
      {"empty lines", "\r\n\r\n\r", "\r\n\r\n\r\n"},
      {"8-bit text, tabs and spaces", "\t\xe9t\xe9 \x80\xff \r\n", "\t\xe9t\xe9 \x80\xff \r\n"},
      {"keys in any case, anywhere",
       "x\r\n\"MapVersion\" \"220\"\r\nMAPVERSION\r\n\"wad\" \"wall_mapversion\"\r\n"
       "\"mapversion2\" \"1\"\r\nold mApVeRsIoN\rmap version\r\nmapversio\r\n",
       "x\r\nmap version\r\nmapversio\r\n"},
      {"a key after a lone LF drops only its own line", "keep\nMAPVERSION\r\nz", "keep\r\nz\r\n"},
      {"a key on the last line", "a\r\nmapversion", "a\r\n"},
      // Reads take 64 KiB at a time: a key split between two reads, a line that spans them.
      {"a key split between two reads", std::string(65530, 'a') + "mApVeRsIoN\r\nb", "b\r\n"},
      {"a line across two reads", std::string(65530, 'a') + "mapversio\n",
       std::string(65530, 'a') + "mapversio\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write("level1.map", c.in);
    Strip({"level1.map"});
    EXPECT_EQ(Files(), (Contents{{"level1.map", c.out}}));
  }
}

// What current editors write on Linux: LF line ends, a "// Game:" and "// Format:" header, Valve
// 220 faces, the key anywhere in worldspawn. Every other line survives, back with CR LF ends.
TEST_F(PelliskTest, LfMapsFromCurrentEditorsKeepEveryOtherLine) {
  const std::vector<std::string> kept = {
      "// Game: Half-Life",
      "// Format: Valve",
      "// entity 0",
      "{",
      "\"classname\" \"worldspawn\"",
      "\"wad\" \"/home/ann/wads/halflife.wad;/home/ann/wads/liquids.wad\"",
      "\"_generator\" \"J.A.C.K. 1.1.3773 (vpHalfLife)\"",
      "\"skyname\" \"desert\"",
      "\"sounds\" \"1\"",
      "\"MaxRange\" \"4096\"",
      "// brush 0",
      "{",
      "( -64 -64 -16 ) ( -64 -63 -16 ) ( -64 -64 -15 ) __TB_empty [ 0 -1 0 0 ] [ 0 0 -1 0 ] 0 1 1",
      "( 64 64 16 ) ( 64 65 16 ) ( 65 64 16 ) {BLUE [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1",
      "}",
      "}",
      "{",
      "\"classname\" \"info_player_start\"",
      "\"origin\" \"0 0 40\"",
      "}"};
  const std::string key = "\"mapversion\" \"220\"";
  // The key as worldspawn's first key, and as its seventh.
  for (const std::size_t keyAfter : {std::size_t{4}, std::size_t{9}}) {
    SCOPED_TRACE("key after line " + std::to_string(keyAfter));
    std::string lf;
    std::string mixed;
    std::string crLf;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      lf += kept[i] + "\n";
      mixed += kept[i] + (i % 2 == 0 ? "\n" : "\r\n");
      crLf += kept[i] + "\r\n";
      if (i == keyAfter) {
        lf += key + "\n";
        mixed += key + "\r\n";
      }
    }
    Write("lf.map", lf);
    Write("mixed.map", mixed);
    Write("unended.map", lf.substr(0, lf.size() - 1));
    // Valve 220 faces lose the key that names their format: the run says so, and how to mend it.
    for (const char* name : {"lf.map", "mixed.map", "unended.map"}) {
      const std::string warning = StripWarned({name});
      EXPECT_NE(warning.find(std::string(name) + " has Valve 220 faces"), std::string::npos);
      EXPECT_NE(warning.find("put the line \"mapversion\" \"220\" back into worldspawn"),
                std::string::npos)
          << warning;
      EXPECT_EQ(LineCount(warning), 1u);
    }
    EXPECT_EQ(Files(), (Contents{{"lf.map", crLf}, {"mixed.map", crLf}, {"unended.map", crLf}}));
  }
  std::string keyless;
  std::string keylessCrLf;
  for (const std::string& line : kept) {
    keyless += line + "\n";
    keylessCrLf += line + "\r\n";
  }
  Write("keyless.map", keyless);
  Strip({"keyless.map"});
  // Quake faces with a key they should not carry: the key goes without a word.
  Write("quake.map",
        "{\n\"mapversion\" \"220\"\n( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\n}\n");
  Strip({"quake.map"});
  EXPECT_EQ(Files().at("quake.map"),
            "{\r\n( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\r\n}\r\n");
  EXPECT_EQ(Files().at("keyless.map"), keylessCrLf);
}

TEST_F(PelliskTest, AMapWithoutKeysStaysByteIdentical) {
  const std::string text = MakeLargeMap(3 << 20).stripped;
  Write("Clean.map", text);
  Strip({"Clean.map"});
  EXPECT_TRUE(Files() == (Contents{{"Clean.map", text}}));
}

}  // namespace
}  // namespace stripper_test
