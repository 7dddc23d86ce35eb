// The POSIX file system: the contract, then what only it does: Windows names mapped onto a Wine
// prefix (drives, letter case, endings), links, FIFOs, permissions, names Windows cannot hold.

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/ole_date.h"
#include "tests/platform/file_system_contract.h"
#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"

namespace platform_tests {

namespace {

namespace fs = std::filesystem;
using test_support::ReadHostFile;
using test_support::WriteHostFile;
using Names = std::vector<std::string>;
using platform_contract::PutFile;

// Drive c: of a prefix of its own (its folder on disk in other letter case), and a drive d:.
class Native : public platform_contract::FileSystemUnderTest {
 public:
  Native() {
    fs::create_directory(prefix_.OnC("Contract"));
    fs::create_directories(prefix_.path() / "dosdevices");
    fs::create_directory(prefix_.path() / "d-drive");
    fs::create_directory_symlink(prefix_.path() / "d-drive", prefix_.path() / "dosdevices/d:");
  }
  platform::FileSystem& fs() override { return platform::NativeFileSystem(); }
  std::string Folder() const override { return "c:\\contract"; }
  std::string OtherDriveRoot() const override { return "d:\\"; }

 private:
  test_support::TemporaryWinePrefix prefix_;
};

const platform_contract::FileSystemKind kNative{"Native",
                                                [] { return std::make_unique<Native>(); }};
using platform_contract::FileSystemContract;
using platform_contract::NativeContract;
INSTANTIATE_TEST_SUITE_P(Posix, FileSystemContract, testing::Values(kNative),
                         platform_contract::KindName);
INSTANTIATE_TEST_SUITE_P(Posix, NativeContract, testing::Values(kNative),
                         platform_contract::KindName);

platform::FileSystem& Files() {
  return platform::NativeFileSystem();
}

std::string Host(const std::string& path) {
  std::string host = "<error>";
  // A failure leaves "<error>", which the expectation then shows.
  static_cast<void>(platform::HostPath(path, host));
  return host;
}

platform::Error Exists(const std::string& path) {
  double date = 0;
  return Files().ModificationTime(path, date);
}

class PosixFiles : public testing::Test {
 protected:
  fs::path In(const std::string& name) const { return prefix.path() / name; }
  // Makes dosdevices/`letter` a link to `target`.
  void MapDrive(const std::string& letter, const fs::path& target) const {
    fs::create_directories(In("dosdevices"));
    fs::create_directory_symlink(target, In("dosdevices") / letter);
  }

  test_support::TemporaryWinePrefix prefix;
};

TEST_F(PosixFiles, ModificationTimeIsLocalTimeAtWholeSecondsAsAnOleDate) {
  WriteHostFile(prefix.OnC("Textures/base.wad"), "");
  // 2001-02-03 04:05:06.789 UTC, on the file and on its folder.
  for (const char* path : {"Textures/base.wad", "Textures"}) {
    const struct timespec times[2] = {{981173106, 789'000'000}, {981173106, 789'000'000}};
    ASSERT_EQ(utimensat(AT_FDCWD, prefix.OnC(path).c_str(), times, 0), 0);
  }
  const struct {
    const char* zone;
    const char* path;
    double expected;
  } cases[] = {
      // Five hours west of UTC: the day before, 23:05:06.
      {"EST5", "c:\\textures\\BASE.WAD", 36924 + (23 * 3600 + 5 * 60 + 6) / 86400.0},
      {"UTC", "c:\\textures\\base.wad", 36925 + (4 * 3600 + 5 * 60 + 6) / 86400.0},
      {"UTC", "c:\\textures", 36925 + (4 * 3600 + 5 * 60 + 6) / 86400.0},
  };
  for (const auto& c : cases) {
    setenv("TZ", c.zone, 1);
    tzset();
    double date = 0;
    ASSERT_EQ(Files().ModificationTime(c.path, date), 0) << c.path;
    EXPECT_EQ(date, c.expected) << c.zone << " " << c.path;
  }
  // Still in UTC: days count from the end of 1899, both ways.
  EXPECT_EQ(platform::posix::OleDateOf(-2209161600), 0.0);  // 1899-12-30 00:00
  EXPECT_EQ(platform::posix::OleDateOf(-2209161600 + 86400 + 43200), 1.5);
  EXPECT_EQ(platform::posix::OleDateOf(-2209161600 - 86400 + 21600), -1.25);
}

TEST_F(PosixFiles, ListingLeavesOutHiddenFilesAndCountsNamesWindowsCannotHold) {
  // Linux allows all of these; each would break a batch line or lead Windows to another file.
  for (const char* name :
       {"line\nbreak.wad", "carriage\rreturn.wad", "tab\t.wad", "bell\a.wad", "a<b.wad", "a>b.wad",
        "a:b.wad", "a\"b.wad", "a|b.wad", "a?b.wad", "a*b.wad", "space.wad ", "dot.wad.",
        "kept.wad", "also kept.wad", ".hidden.wad", "other:name.txt"}) {
    WriteHostFile(prefix.OnC(std::string("Textures/") + name), "");
  }
  fs::create_symlink(prefix.OnC("Textures/kept.wad"), prefix.OnC("Textures/link.wad"));
  Names names;
  std::size_t leftOut = 0;
  ASSERT_EQ(Files().List("c:\\textures", "*", names, leftOut), 0);
  EXPECT_EQ(names, (Names{"also kept.wad", "kept.wad", "link.wad"}));
  EXPECT_EQ(leftOut, 14u);
  // Only the names that match the pattern count.
  ASSERT_EQ(Files().List("c:\\textures", "*.txt", names, leftOut), 0);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(leftOut, 1u);
}

TEST_F(PosixFiles, FailuresCarryTheirErrorNumbers) {
  WriteHostFile(prefix.OnC("Data/Locked.txt"), "keep");
  WriteHostFile(prefix.OnC("Data/other.txt"), "other");
  fs::permissions(prefix.OnC("Data/Locked.txt"), fs::perms::owner_write, fs::perm_options::remove);
  fs::create_directory(prefix.OnC("Data/Sub"));
  // A FIFO is refused at once, with or without a reader, instead of waiting for one.
  ASSERT_EQ(mkfifo(prefix.OnC("Data/alone.log").c_str(), 0666), 0);
  ASSERT_EQ(mkfifo(prefix.OnC("Data/read.log").c_str(), 0666), 0);
  const int reader = open(prefix.OnC("Data/read.log").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  platform::File file;
  std::int64_t length = 0;
  char byte = 0;
  std::size_t got = 0;
  const struct {
    platform::Error error;
    platform::Error expected;
  } cases[] = {
      {Files().Delete("c:\\data\\locked.txt"), EACCES},
      {Files().Create("c:\\data\\locked.txt", file), EACCES},
      {Files().Delete("c:\\data\\sub"), EISDIR},
      {Files().OpenRead("c:\\data\\sub", file), EISDIR},
      {Files().Length("c:\\data\\sub", length), EISDIR},
      {Files().Delete("c:\\data\\gone.txt"), ENOENT},
      {Files().Rename("c:\\data\\locked.txt", "c:\\nowhere\\x.txt"), ENOENT},
      {Files().Create("c:\\missing\\x.txt", file), ENOENT},
      {Files().MakeFolder("c:\\data\\sub"), EEXIST},
      {Files().MakeFolder("c:\\missing\\old"), ENOENT},
      {Files().Rename("c:\\data\\other.txt", "c:\\data\\locked.txt"), EEXIST},
      {Files().Write(file, "x", 1), EBADF},
      {Files().Read(file, &byte, 1, got), EBADF},
      {PutFile(Files(), "c:\\data\\alone.log", "log"), ENXIO},
      {PutFile(Files(), "c:\\data\\read.log", "log"), EACCES},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].error, cases[i].expected) << "case " << i;
  }
  close(reader);
  EXPECT_EQ(ReadHostFile(prefix.OnC("Data/Locked.txt")), "keep");
  EXPECT_TRUE(fs::is_fifo(prefix.OnC("Data/alone.log")));
}

TEST_F(PosixFiles, CreateAndDeleteReplaceALinkAndNeverTouchItsTarget) {
  WriteHostFile(prefix.OnC("victim.txt"), "the user's own file");
  WriteHostFile(prefix.OnC("locked.txt"), "read-only");
  fs::permissions(prefix.OnC("locked.txt"), fs::perms::owner_write, fs::perm_options::remove);
  fs::create_directory(prefix.OnC("Textures"));
  const struct {
    const char* target;
    const char* link;
  } links[] = {{"victim.txt", "2HLWAD.BAT"},
               {"locked.txt", "locked.log"},
               {"nowhere/new.txt", "dangling.log"}};
  for (const auto& link : links) {
    const std::string at = prefix.OnC(std::string("Textures/") + link.link);
    fs::create_symlink(prefix.OnC(link.target), at);
    ASSERT_EQ(PutFile(Files(), "c:\\textures\\" + std::string(link.link), "new"), 0) << at;
    EXPECT_FALSE(fs::is_symlink(at));
    EXPECT_EQ(ReadHostFile(at), "new");
  }
  EXPECT_EQ(ReadHostFile(prefix.OnC("victim.txt")), "the user's own file");
  EXPECT_EQ(ReadHostFile(prefix.OnC("locked.txt")), "read-only");
  EXPECT_FALSE(fs::exists(prefix.OnC("nowhere")));

  // Reading through a link stays allowed: a user may link WADs into the folder. Deleting a link,
  // dangling or not, removes the link alone.
  fs::create_symlink(prefix.OnC("victim.txt"), prefix.OnC("Textures/linked.wad"));
  fs::create_symlink(prefix.OnC("gone.txt"), prefix.OnC("Textures/gone.wad"));
  platform::File file;
  ASSERT_EQ(Files().OpenRead("c:\\textures\\linked.wad", file), 0);
  EXPECT_EQ(Files().Close(file), 0);
  EXPECT_EQ(Files().Delete("c:\\textures\\linked.wad"), 0);
  EXPECT_EQ(Files().Delete("c:\\textures\\GONE.WAD"), 0);
  EXPECT_FALSE(fs::is_symlink(prefix.OnC("Textures/gone.wad")));
  EXPECT_EQ(ReadHostFile(prefix.OnC("victim.txt")), "the user's own file");
}

TEST_F(PosixFiles, DrivesComeFromDosdevicesLinksOrTheDefaultPrefix) {
  EXPECT_EQ(Host("c:\\on-c.txt"), prefix.OnC("on-c.txt"));
  fs::create_directories(In("elsewhere/Data"));
  MapDrive("d:", In("elsewhere"));
  // As Wine links c: to "../drive_c": the path is named from the prefix.
  MapDrive("e:", "../elsewhere/Data");
  EXPECT_EQ(Host("D:\\Data"), In("elsewhere/Data").string());
  EXPECT_EQ(Host("e:\\"), In("elsewhere/Data").string());
  // A c: link wins over drive_c.
  MapDrive("c:", In("elsewhere"));
  EXPECT_EQ(Host("c:\\Data"), In("elsewhere/Data").string());

  MapDrive("g:", In("gone"));
  std::string host;
  EXPECT_EQ(platform::HostPath("q:\\x", host), ENODEV);
  EXPECT_EQ(platform::HostPath("g:\\x", host), ENODEV);
  EXPECT_EQ(platform::ChangeDrive('q'), ENODEV);
  EXPECT_EQ(platform::ChangeDrive('\0'), ENODEV);

  // Without WINEPREFIX, the home folder's .wine.
  const std::string savedHome = getenv("HOME") != nullptr ? getenv("HOME") : "";
  fs::create_directories(In(".wine/drive_c"));
  unsetenv("WINEPREFIX");
  setenv("HOME", prefix.path().c_str(), 1);
  host = Host("c:\\");
  setenv("HOME", savedHome.c_str(), 1);
  EXPECT_EQ(host, In(".wine/drive_c").string());
}

TEST_F(PosixFiles, NamesFindTheirFilesWhateverTheLetterCaseAndEnding) {
  for (const char* file :
       {"Long Folder/Textures/Castle.WAD", "Maps/level.map", "Maps/Level.map", "Maps/LEVEL.MAP",
        "Maps/ALPHA.MAP", "Maps/alpha.map", "Data/victim.txt"}) {
    WriteHostFile(prefix.OnC(file), "x");
  }
  fs::create_directory(prefix.OnC("Data/Sub"));
  const struct {
    const char* path;
    const char* onDisk;
  } cases[] = {
      {"c:\\long folder\\textures\\castle.wad", "Long Folder/Textures/Castle.WAD"},
      {"C:/LONG FOLDER/./Textures/../textures/CASTLE.wad", "Long Folder/Textures/Castle.WAD"},
      // An exact match wins; otherwise the first variant in byte order, whichever the folder
      // lists first (the two sets are written in opposite orders).
      {"c:\\maps\\Level.map", "Maps/Level.map"},
      {"c:\\maps\\level.MAP", "Maps/LEVEL.MAP"},
      {"c:\\maps\\Alpha.map", "Maps/ALPHA.MAP"},
      // Windows drops trailing spaces and dots of the last name.
      {"c:\\data\\VICTIM.txt. .", "Data/victim.txt"},
      {"c:\\DATA\\SUB\\", "Data/Sub"},
      // Names that do not exist yet are kept as written.
      {"c:\\data\\missing\\Deeper.txt", "Data/missing/Deeper.txt"},
      {"c:\\data\\new\\", "Data/new"},
      {"c:\\data\\New.Log. ", "Data/New.Log"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Host(c.path), prefix.OnC(c.onDisk)) << c.path;
  }
  const struct {
    const char* path;
    platform::Error error;
  } failures[] = {
      {"c:\\long folder\\textures\\base.wad", ENOENT},
      {"c:\\long folder\\textures\\castle.wad\\x", ENOTDIR},
      {"c:\\data\\sub\\", 0},
      {"c::\\data", EINVAL},
      {"", ENOENT},
      {"q:\\", ENODEV},
  };
  for (const auto& f : failures) {
    EXPECT_EQ(Exists(f.path), f.error) << f.path;
  }
}

// Sets a folder's modification time well into the past, so that its name index counts as settled.
void Age(const std::string& folder) {
  const struct timespec times[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, folder.c_str(), times, 0), 0);
}

TEST_F(PosixFiles, RememberedFolderNamesFollowChangesOnDisk) {
  WriteHostFile(prefix.OnC("Big/First.wad"), "");
  Age(prefix.OnC("Big"));
  EXPECT_EQ(Host("c:\\big\\first.wad"), prefix.OnC("Big/First.wad"));
  WriteHostFile(prefix.OnC("Big/Second.WAD"), "");
  EXPECT_EQ(Host("c:\\big\\second.wad"), prefix.OnC("Big/Second.WAD"));
  Age(prefix.OnC("Big"));
  EXPECT_EQ(Host("c:\\big\\second.wad"), prefix.OnC("Big/Second.WAD"));
  fs::rename(prefix.OnC("Big/Second.WAD"), prefix.OnC("Big/SECOND.wad"));
  EXPECT_EQ(Host("c:\\big\\second.wad"), prefix.OnC("Big/SECOND.wad"));
  fs::remove(prefix.OnC("Big/First.wad"));
  EXPECT_EQ(Exists("c:\\big\\first.wad"), ENOENT);
}

TEST_F(PosixFiles, NamesWindowsRefusesReachNothing) {
  WriteHostFile(prefix.OnC("Data/victim.txt"), "keep");
  fs::create_directory(prefix.OnC("Data/Sub"));
  struct Refused {
    std::string path;
    platform::Error error;
  };
  // A trailing separator names only a folder.
  std::vector<Refused> cases = {{"c:\\data\\victim.txt\\", ENOTDIR},
                                {"c:\\data\\victim.txt/", ENOTDIR},
                                {"c:\\data\\" + std::string(70000, 'x'), ENAMETOOLONG}};
  for (const char* name : {"a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a:b", "a\tb"}) {
    cases.push_back({std::string("c:\\data\\") + name, EINVAL});
  }
  cases.push_back({std::string("c:\\data\\a\0b", 10), EINVAL});
  for (const Refused& c : cases) {
    const std::string shown = c.path.substr(0, 30);
    platform::File file;
    std::string host;
    EXPECT_EQ(Exists(c.path), c.error) << shown;
    EXPECT_EQ(Files().Create(c.path, file), c.error) << shown;
    EXPECT_EQ(file.handle, -1);
    EXPECT_EQ(Files().OpenRead(c.path, file), c.error) << shown;
    EXPECT_EQ(Files().Delete(c.path), c.error) << shown;
    EXPECT_EQ(Files().Rename(c.path, "c:\\data\\moved.txt"), c.error) << shown;
    EXPECT_EQ(Files().MakeFolder(c.path), c.error) << shown;
    EXPECT_EQ(platform::HostPath(c.path, host), c.error) << shown;
  }
  EXPECT_EQ(ReadHostFile(prefix.OnC("Data/victim.txt")), "keep");
  EXPECT_EQ(test_support::FolderContents(prefix.OnC("Data")).size(), 1u);
  // A new name with a trailing separator can become a folder but not a file.
  platform::File file;
  EXPECT_NE(Files().Create("c:\\data\\new.txt\\", file), 0);
  EXPECT_FALSE(fs::exists(prefix.OnC("Data/new.txt")));
  EXPECT_EQ(Files().MakeFolder("c:\\data\\made\\"), 0);
  EXPECT_TRUE(fs::is_directory(prefix.OnC("Data/made")));
}

TEST_F(PosixFiles, BeforeAnyChangeTheCurrentFolderIsTheHostWorkingFolder) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  WriteHostFile(prefix.OnC("Start Here/Map.MAP"), "x");
  ASSERT_EQ(chdir(prefix.OnC("Start Here").c_str()), 0);
  EXPECT_EXIT(
      {
        std::string host;
        const bool fine =
            platform::CurrentFolder() == prefix.OnC("Start Here") &&
            platform::HostPath("map.map", host) == 0 && host == prefix.OnC("Start Here/Map.MAP") &&
            platform::ChangeFolder(prefix.OnC("")) == 0 &&
            platform::CurrentFolder() == prefix.OnC("") &&
            platform::HostPath("\\" + prefix.OnC("start here").substr(1), host) == 0 &&
            host == prefix.OnC("Start Here");
        std::exit(fine ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

}  // namespace platform_tests
