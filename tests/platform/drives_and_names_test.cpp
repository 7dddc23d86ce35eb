// How the POSIX layer maps Windows names onto a Wine prefix: drives, letter case, the characters
// and endings Windows treats its own way.

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"

namespace platform_tests {

namespace {

namespace fs = std::filesystem;
using test_support::ReadHostFile;
using test_support::WriteHostFile;

std::string Host(const std::string& path) {
  std::string host = "<error>";
  // A failure leaves "<error>", which the expectation then shows.
  static_cast<void>(platform::HostPath(path, host));
  return host;
}

platform::Error Exists(const std::string& path) {
  double date = 0;
  return platform::NativeFileSystem().ModificationTime(path, date);
}

class Mapping : public testing::Test {
 protected:
  fs::path In(const std::string& name) const { return prefix.path() / name; }
  // Makes dosdevices/`letter` a link to `target`.
  void MapDrive(const std::string& letter, const fs::path& target) const {
    fs::create_directories(In("dosdevices"));
    fs::create_directory_symlink(target, In("dosdevices") / letter);
  }

  test_support::TemporaryWinePrefix prefix;
};

TEST_F(Mapping, DosdevicesLinksMapLettersAbsoluteOrRelativeAndUnmappedOnesAreErrors) {
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
}

TEST_F(Mapping, WithoutWineprefixTheHomeFoldersWineIsUsed) {
  const char* oldHome = getenv("HOME");
  const std::string savedHome = oldHome != nullptr ? oldHome : "";
  fs::create_directories(In(".wine/drive_c"));
  unsetenv("WINEPREFIX");
  setenv("HOME", prefix.path().c_str(), 1);
  const std::string host = Host("c:\\");
  setenv("HOME", savedHome.c_str(), 1);
  EXPECT_EQ(host, In(".wine/drive_c").string());
}

TEST_F(Mapping, NamesFindTheirFilesWhateverTheLetterCaseAndEnding) {
  for (const char* file :
       {"Program Files/Worldcraft/Textures/Castle.WAD", "Maps/level.map", "Maps/Level.map",
        "Maps/LEVEL.MAP", "Maps/ALPHA.MAP", "Maps/alpha.map", "Data/victim.txt"}) {
    WriteHostFile(prefix.OnC(file), "x");
  }
  fs::create_directory(prefix.OnC("Data/Sub"));
  const struct {
    const char* path;
    const char* onDisk;
  } cases[] = {
      {"c:\\program files\\worldcraft\\textures\\castle.wad",
       "Program Files/Worldcraft/Textures/Castle.WAD"},
      {"C:/PROGRAM FILES/worldcraft/./Textures/../textures/CASTLE.wad",
       "Program Files/Worldcraft/Textures/Castle.WAD"},
      // An exact match wins; otherwise the first variant in byte order, whichever the folder
      // lists first (the two sets are written in opposite orders).
      {"c:\\maps\\Level.map", "Maps/Level.map"},
      {"c:\\maps\\level.MAP", "Maps/LEVEL.MAP"},
      {"c:\\maps\\Alpha.map", "Maps/ALPHA.MAP"},
      // Windows drops trailing spaces and dots of the last name.
      {"c:\\data\\victim.txt.", "Data/victim.txt"},
      {"c:\\data\\VICTIM.TXT ", "Data/victim.txt"},
      {"c:\\data\\victim.txt. .", "Data/victim.txt"},
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
      {"c:\\program files\\worldcraft\\textures\\base.wad", ENOENT},
      {"c:\\program files\\worldcraft\\textures\\castle.wad\\x", ENOTDIR},
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

TEST_F(Mapping, RememberedFolderNamesFollowChangesOnDisk) {
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

TEST_F(Mapping, NamesWindowsRefusesReachNothing) {
  WriteHostFile(prefix.OnC("Data/victim.txt"), "keep");
  fs::create_directory(prefix.OnC("Data/Sub"));
  platform::FileSystem& files = platform::NativeFileSystem();
  struct Refused {
    std::string path;
    platform::Error error;
  };
  // A trailing separator names only a folder.
  std::vector<Refused> cases = {{"c:\\data\\victim.txt\\", ENOTDIR},
                                {"c:\\data\\victim.txt/", ENOTDIR},
                                {"c:\\data\\" + std::string(70000, 'x'), ENAMETOOLONG}};
  for (const std::string& name : {"a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a:b", "a\tb"}) {
    cases.push_back({"c:\\data\\" + name, EINVAL});
  }
  cases.push_back({std::string("c:\\data\\a\0b", 10), EINVAL});
  for (const Refused& c : cases) {
    const std::string shown = c.path.substr(0, 30);
    platform::File file;
    std::string host;
    EXPECT_EQ(Exists(c.path), c.error) << shown;
    EXPECT_EQ(files.Create(c.path, file), c.error) << shown;
    EXPECT_EQ(file.handle, -1);
    EXPECT_EQ(files.OpenRead(c.path, file), c.error) << shown;
    EXPECT_EQ(files.Delete(c.path), c.error) << shown;
    EXPECT_EQ(files.Rename(c.path, "c:\\data\\moved.txt"), c.error) << shown;
    EXPECT_EQ(files.MakeFolder(c.path), c.error) << shown;
    EXPECT_EQ(platform::HostPath(c.path, host), c.error) << shown;
  }
  EXPECT_EQ(ReadHostFile(prefix.OnC("Data/victim.txt")), "keep");
  EXPECT_EQ(test_support::FolderContents(prefix.OnC("Data")).size(), 1u);

  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  ASSERT_EQ(platform::ChangeFolder("c:\\data\\sub\\"), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Data\\Sub");
  // A new name so written can become a folder but not a file.
  platform::File file;
  EXPECT_NE(files.Create("c:\\data\\new.txt\\", file), 0);
  EXPECT_FALSE(fs::exists(prefix.OnC("Data/new.txt")));
  EXPECT_EQ(files.MakeFolder("c:\\data\\made\\"), 0);
  EXPECT_TRUE(fs::is_directory(prefix.OnC("Data/made")));
}

TEST_F(Mapping, BeforeAnyChangeTheCurrentFolderIsTheHostWorkingFolder) {
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
