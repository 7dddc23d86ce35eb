#include "stripper/map_version_stripper.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/support/memory_file_system.h"

namespace stripper {
namespace {

using Contents = std::map<std::string, std::string>;

struct Outcome {
  std::string said;  // the warning, or the refusal
  bool refused = false;
  Contents files;  // what the run left
};

// One run over a file system in memory.
Outcome Strip(const std::string& argument, const Contents& files) {
  test_support::MemoryFileSystem fs;
  for (const auto& [name, bytes] : files) {
    fs.files[name].assign(bytes.begin(), bytes.end());
  }
  Outcome outcome;
  try {
    outcome.said = MapVersionStripper(argument, fs);
  } catch (const StripFailure& failure) {
    outcome.said = failure.what();
    outcome.refused = true;
  }
  for (const auto& [name, bytes] : fs.files) {
    outcome.files[name].assign(bytes.begin(), bytes.end());
  }
  return outcome;
}

// Lines are kept as read with CR LF ends. Faces with texture axes in "[ ]" need the format key that
// the run drops, and the warning names the map and the line to put back; Quake faces do without it.
TEST(MapVersionStripper, KeepsEveryLineWithoutTheKeyAndWarnsWhenValveFacesLoseIt) {
  const std::string v = "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) W [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1\r\n";
  const std::string key = "\"mapversion\" \"220\"";
  const struct {
    const char* what;
    std::string in;
    std::string out;
    bool warns = false;
  } cases[] = {
      {"line ends", "a\r\nb\rc\nd\n\r\n\r\n\re", "a\r\nb\r\nc\r\nd\r\n\r\n\r\n\r\ne\r\n"},
      {"empty file", "", ""},
      {"8-bit text, tabs and spaces", "\t\xe9t\xe9 \x80\xff \r\n", "\t\xe9t\xe9 \x80\xff \r\n"},
      {"keys in any case, anywhere",
       "x\r\n\"MapVersion\" \"220\"\r\nMAPVERSION\r\n\"wad\" \"wall_mapversion\"\r\n"
       "\"mapversion2\" \"1\"\r\nold mApVeRsIoN\rmap version\r\nmapversio\r\n",
       "x\r\nmap version\r\nmapversio\r\n"},
      {"after a lone LF, on the last line", "a\nMAPVERSION\r\nb\r\nmapversion", "a\r\nb\r\n"},
      // Reads take 64 KiB at a time: a key split between two reads, a line that spans them.
      {"a key split between two reads", std::string(65530, 'a') + "mApVeRsIoN\r\nb", "b\r\n"},
      {"a line across two reads", std::string(65530, 'a') + "mapversio\n",
       std::string(65530, 'a') + "mapversio\r\n"},
      {"Valve faces after the key", key + "\r\n" + v + v, v + v, true},
      {"the key in any case, indented", "\t \"MapVersion\" \"220\"\n  " + v, "  " + v, true},
      {"the key after the faces, on the last line", v + key, v, true},
      {"Valve faces without the key", v, v},
      {"Quake faces", key + "\n( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) W 0 0 0 1 1",
       "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) W 0 0 0 1 1\r\n"},
      {"a value that holds the word", "\"wad\" \"mapversion.wad\"\r\n" + v, v},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome outcome = Strip("Level1.map", {{"Level1.map", c.in}});
    EXPECT_FALSE(outcome.refused);
    EXPECT_TRUE(outcome.files == (Contents{{"Level1.map", c.out}}));
    EXPECT_EQ(outcome.said.empty(), !c.warns) << outcome.said;
    if (c.warns) {
      EXPECT_TRUE(outcome.said.starts_with("Level1.map has Valve 220 faces")) << outcome.said;
      EXPECT_NE(outcome.said.find("put the line " + key + " back"), std::string::npos);
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
      {{{"m.bkr", k}, {"m.bkr.tmp", "x"}}, "m.map", "rename it to m.map, delete m.bkr.tmp and run"},
      {{{"x.wad", std::string("WAD2\0\0\0\0", 8)}}, "x.wad", "Refusing x.wad: it holds NUL bytes"},
      {{{"u.map", std::string("\xff\xfe{\0\r\0", 6)}}, "u", "Refusing u.map: it holds NUL bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.report);
    const Outcome outcome = Strip(c.argument, c.files);
    EXPECT_TRUE(outcome.refused);
    EXPECT_NE(outcome.said.find(c.report), std::string::npos) << outcome.said;
    EXPECT_EQ(outcome.said.find('\n'), std::string::npos) << outcome.said;
    EXPECT_TRUE(outcome.files == c.files);
  }
}

}  // namespace
}  // namespace stripper
