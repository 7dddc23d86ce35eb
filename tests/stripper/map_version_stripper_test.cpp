// One run over a file system in memory: which lines are kept and how they end, the Valve 220
// warning, and what is refused before anything changes.

#include "stripper/map_version_stripper.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/support/memory_file_system.h"

namespace stripper {
namespace {

using Contents = std::map<std::string, std::string>;

test_support::MemoryFileSystem FileSystemWith(const Contents& files) {
  test_support::MemoryFileSystem fs;
  for (const auto& [name, bytes] : files) {
    fs.files[name].assign(bytes.begin(), bytes.end());
  }
  return fs;
}

Contents FilesOf(const test_support::MemoryFileSystem& fs) {
  Contents files;
  for (const auto& [name, bytes] : fs.files) {
    files[name].assign(bytes.begin(), bytes.end());
  }
  return files;
}

TEST(MapVersionStripper, KeepsEveryLineWithoutTheKeyAsReadWithCrLfEnds) {
  std::string large;
  while (large.size() < (1 << 20)) {
    large += "( " + std::to_string(large.size()) + " -64 0 ) ( 0 64 0 ) ( 0 0 64 ) BRICK 0 0 0\r\n";
  }
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
      {"a large map without the key", large, large},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto fs = FileSystemWith({{"level1.map", c.in}});
    EXPECT_EQ(MapVersionStripper("level1.map", fs), "");
    EXPECT_TRUE(FilesOf(fs) == (Contents{{"level1.map", c.out}}));
  }
}

// Faces with texture axes in "[ ]" need the format key that the run drops; the warning names the
// map and the line to put back. Quake faces do without it.
TEST(MapVersionStripper, WarnsOnlyWhenValveFacesLoseTheirFormatKey) {
  const std::string valve = "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1";
  const std::string quake = "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1";
  const struct {
    std::string in;
    bool warns;
  } cases[] = {
      {"{\n\"classname\" \"worldspawn\"\n\"mapversion\" \"220\"\n{\n" + valve + "\n" + valve +
           "\n}\n}\n",
       true},
      {"{\n\t \"MapVersion\" \"220\"\r\n}\n{\n  " + valve + "\n}\n", true},
      {"{\n" + valve + "\n}\n\"mapversion\" \"220\"", true},
      {"{\n\"classname\" \"worldspawn\"\n{\n" + valve + "\n}\n}\n", false},
      {"{\n\"mapversion\" \"220\"\n{\n" + quake + "\n}\n}\n", false},
      {"{\n\"wad\" \"mapversion.wad\"\n{\n" + valve + "\n}\n}\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    auto fs = FileSystemWith({{"Valve.map", c.in}});
    const std::string warning = MapVersionStripper("Valve.map", fs);
    EXPECT_EQ(warning.empty(), !c.warns);
    if (c.warns) {
      EXPECT_EQ(warning.rfind("Valve.map has Valve 220 faces", 0), 0u) << warning;
      EXPECT_NE(warning.find("put the line \"mapversion\" \"220\" back"), std::string::npos);
    }
  }
}

// Each refusal names the map and the cause in one line and changes nothing.
TEST(MapVersionStripper, RefusesWhatItCouldLoseOrMisreadBeforeTouchingAnything) {
  const std::string k = "\"mapversion\" \"220\"\r\n";
  const struct {
    Contents files;
    const char* argument;
    const char* report;  // what names the file and the cause
  } cases[] = {
      {{{"A.BKR", k}}, "A.BKR", "Refusing A.BKR: its backup name a.bkr is the file itself"},
      {{{"m.map", k}, {"m.bkr", "old"}}, "m.map", "Refusing m.map: m.bkr already exists"},
      {{{"c.map", k}, {"C.BKR", "old"}}, "c.map", "Refusing c.map: C.BKR already exists"},
      {{{"m.map", k}, {"m.bkr.tmp", "x"}}, "m", "Refusing m.map: m.bkr.tmp already exists"},
      {{{"c.map", k}, {"c.BKR.tmp", "x"}}, "c.map", "Refusing c.map: c.BKR.tmp already exists"},
      {{{"c.map", k}, {"c.MAP", k}}, "c.map", "Refusing c.map: its folder holds c.MAP, c.map"},
      {{}, "gone.map", "Cannot open the map file gone.map"},
      // What a run stopped between its renames leaves.
      {{{"m.bkr", k}, {"m.bkr.tmp", "x"}},
       "m.map",
       "; m.bkr holds a map's content left by an interrupted run: rename it to m.map, delete "
       "m.bkr.tmp and run pellisk again"},
      {{{"x.wad", std::string("WAD2\0\0\0\0\x0c\0\0\0", 12)}},
       "x.wad",
       "Refusing x.wad: it holds NUL bytes"},
      {{{"u.map", std::string("\xff\xfe{\0\r\0\n\0}\0", 10)}},
       "u",
       "Refusing u.map: it holds NUL bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.report);
    auto fs = FileSystemWith(c.files);
    try {
      MapVersionStripper(c.argument, fs);
      ADD_FAILURE() << "not refused";
    } catch (const StripFailure& failure) {
      const std::string report = failure.what();
      EXPECT_NE(report.find(c.report), std::string::npos) << report;
      EXPECT_EQ(report.find('\n'), std::string::npos) << report;
    }
    EXPECT_TRUE(FilesOf(fs) == c.files);
  }
}

}  // namespace
}  // namespace stripper
