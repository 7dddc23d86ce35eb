// The built pellisk program run on real files: argument forms, line rules, reports, and kills.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "test_folder.h"

namespace stripper_test {
namespace {

using Contents = std::map<std::string, std::string>;

const std::string kKeyed = "{\r\n\"classname\" \"worldspawn\"\r\n\"mapversion\" \"220\"\r\n}\r\n";
const std::string kStripped = "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n";

// A word for /bin/sh that stands for exactly `text`.
std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (const char c : text) {
    word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return word + "'";
}

struct Outcome {
  bool succeeded = false;
  std::string out;
  std::string err;
};

class PelliskTest : public ::testing::Test {
 protected:
  // Runs pellisk in `folder` (the work folder by default) with `arguments` as separate words.
  Outcome Pellisk(const std::vector<std::string>& arguments, const std::string& environment = "",
                  const std::filesystem::path& folder = {}) {
    std::string command = "cd " + ShellWord((folder.empty() ? work_.path() : folder).string()) +
                          " && " + environment + " " + ShellWord(PELLISK_PATH);
    for (const std::string& argument : arguments) {
      command += " " + ShellWord(argument);
    }
    command += " >" + ShellWord((scratch_ / "out").string()) + " 2>" +
               ShellWord((scratch_ / "err").string());
    Outcome outcome;
    outcome.succeeded = std::system(command.c_str()) == 0;
    outcome.out = ReadBytes(scratch_ / "out");
    outcome.err = ReadBytes(scratch_ / "err");
    return outcome;
  }

  // Runs pellisk and expects a silent success.
  void Strip(const std::vector<std::string>& arguments, const std::string& environment = "") {
    const Outcome outcome = Pellisk(arguments, environment);
    EXPECT_TRUE(outcome.succeeded) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
  }

  // Runs pellisk, expects a failure that leaves the files alone, and returns its report.
  std::string Fail(const std::vector<std::string>& arguments) {
    const Contents before = Files();
    const Outcome outcome = Pellisk(arguments);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(Files(), before);
    return outcome.err;
  }

  void Write(const std::string& name, const std::string& bytes) { WriteBytes(work_ / name, bytes); }
  Contents Files() const { return FolderContents(work_.path()); }

  TestFolder work_;
  TestFolder scratch_;
};

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
  // Any extension is taken as it is, and the backup name still drops it.
  Write("level1.bkr", "old backup");
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

TEST_F(PelliskTest, KeepsTheBackupInTheMapsOwnFolderWhereCaseCounts) {
  Write("Maps/Level1.map", kKeyed);
  Write("Maps/level1.bkr", "old backup");
  Write("maps/level1.bkr", "someone else's file");
  Strip({"Maps/Level1.map"});
  EXPECT_EQ(Files(),
            (Contents{{"Maps/Level1.map", kStripped}, {"maps/level1.bkr", "someone else's file"}}));
}

TEST_F(PelliskTest, ResolvesDriveLettersAndKeepsTheNameAsWritten) {
  Write("prefix/drive_c/Maps/Level1.MAP", kKeyed);
  Strip({"C:\\maps\\level1.map"}, "WINEPREFIX=" + ShellWord((work_ / "prefix").string()));
  EXPECT_EQ(Files(), (Contents{{"prefix/drive_c/Maps/level1.map", kStripped}}));
}

TEST_F(PelliskTest, RefusesANameThatIsItsOwnBackup) {
  Write("Level1.BKR", kKeyed);
  const std::string report = Fail({"Level1.BKR"});
  EXPECT_EQ(LineCount(report), 1u);
  EXPECT_NE(report.find("Level1.BKR"), std::string::npos) << report;
}

TEST_F(PelliskTest, AMissingMapIsReportedAndItsBackupKept) {
  Write("level1.bkr", kKeyed);
  const std::string report = Fail({"level1.map"});
  EXPECT_EQ(LineCount(report), 1u);
  EXPECT_NE(report.find("Cannot open the map file level1.map"), std::string::npos) << report;
  EXPECT_NE(report.find("level1.bkr"), std::string::npos) << report;
  EXPECT_NE(report.find("(error "), std::string::npos) << report;
}

TEST_F(PelliskTest, AnEmptyArgumentIsReportedWithAUsageLine) {
  for (const auto& form : std::vector<std::vector<std::string>>{{}, {"\"\""}, {" "}}) {
    const std::string report = Fail(form);
    EXPECT_EQ(LineCount(report), 2u) << report;
    EXPECT_NE(report.find("\nusage: pellisk "), std::string::npos) << report;
  }
  EXPECT_EQ(Files(), Contents{});
}

TEST_F(PelliskTest, AnswersHelpAndVersion) {
  const Outcome help = Pellisk({"--help"});
  EXPECT_TRUE(help.succeeded);
  EXPECT_EQ(help.out.rfind("usage: pellisk ", 0), 0u) << help.out;
  const Outcome version = Pellisk({"--version"});
  EXPECT_TRUE(version.succeeded);
  EXPECT_EQ(version.out.rfind("pellisk ", 0), 0u) << version.out;
}

TEST_F(PelliskTest, WritesKeptLinesAsReadWithCrLfEnds) {
  const struct {
    const char* what;
    std::string in;
    std::string out;
  } cases[] = {
      {"CR LF", "a\r\nb\r\n", "a\r\nb\r\n"},
      {"lone CR", "a\rb\r", "a\r\nb\r\n"},
      {"lone LF inside a line", "a\nb\r\nc\n", "a\nb\r\nc\n\r\n"},
      {"last line without line end", "a\r\nb", "a\r\nb\r\n"},
      {"empty file", "", ""},
      {"empty lines", "\r\n\r\n\r", "\r\n\r\n\r\n"},
      {"8-bit text, tabs and spaces", "\t\xe9t\xe9 \x80\xff \r\n", "\t\xe9t\xe9 \x80\xff \r\n"},
      {"keys in any case, anywhere",
       "x\r\n\"MapVersion\" \"220\"\r\nMAPVERSION\r\n\"wad\" \"wall_mapversion\"\r\n"
       "\"mapversion2\" \"1\"\r\nold mApVeRsIoN\rmap version\r\nmapversio\r\n",
       "x\r\nmap version\r\nmapversio\r\n"},
      {"a key after a lone LF drops the whole line", "keep\nMAPVERSION\r\nz", "z\r\n"},
      {"a key on the last line", "a\r\nmapversion", "a\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write("level1.map", c.in);
    Strip({"level1.map"});
    EXPECT_EQ(Files(), (Contents{{"level1.map", c.out}}));
  }
}

// Lines of a large map, with those that hold the key told apart.
struct LargeMap {
  std::string original;
  std::string stripped;
};

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

TEST_F(PelliskTest, AMapWithoutKeysStaysByteIdentical) {
  const std::string text = MakeLargeMap(3 << 20).stripped;
  Write("Clean.map", text);
  Strip({"Clean.map"});
  EXPECT_TRUE(Files() == (Contents{{"Clean.map", text}}));
}

TEST_F(PelliskTest, AKilledRunKeepsTheContentAndTheNextRunFinishes) {
  const LargeMap map = MakeLargeMap(48 << 20);
  const std::size_t full = map.stripped.size();
  // Kill points by the size the temporary file has reached; the last one falls after the copy.
  const struct {
    std::size_t size;
    bool surelyRunning;
  } points[] = {{1, true}, {full / 4, true}, {full * 3 / 4, true}, {full, false}};
  for (const auto& point : points) {
    SCOPED_TRACE("killed at " + std::to_string(point.size) + " bytes");
    Write("big.map", map.original);
    const std::string script =
        "cd " + ShellWord(work_.path().string()) + " || exit 1; " + ShellWord(PELLISK_PATH) +
        " big.map & pid=$!; "
        "while kill -0 $pid 2>/dev/null && "
        "[ \"$(stat -c %s big.bkr.tmp 2>/dev/null || echo 0)\" -lt " +
        std::to_string(point.size) +
        " ]; do :; done; kill -9 $pid 2>/dev/null; wait $pid; [ $? -eq 137 ]";
    const bool killed = std::system(script.c_str()) == 0;
    if (point.surelyRunning) {
      EXPECT_TRUE(killed);
    }
    const bool mapPresent = std::filesystem::exists(work_ / "big.map");
    EXPECT_TRUE((mapPresent && ReadBytes(work_ / "big.map") == map.original) ||
                (std::filesystem::exists(work_ / "big.bkr") &&
                 ReadBytes(work_ / "big.bkr") == map.original) ||
                !killed);

    const Outcome second = Pellisk({"big.map"});
    if (mapPresent) {
      EXPECT_TRUE(second.succeeded) << second.err;
      EXPECT_TRUE(Files() == (Contents{{"big.map", map.stripped}}));
    } else {
      EXPECT_FALSE(second.succeeded);
      EXPECT_TRUE(ReadBytes(work_ / "big.bkr") == map.original);
    }
    std::filesystem::remove_all(work_.path());
    std::filesystem::create_directory(work_.path());
  }
}

}  // namespace
}  // namespace stripper_test
