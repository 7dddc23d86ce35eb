#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

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

// Sets a folder's modification time well into the past, so that its name index counts as settled.
void Age(const std::string& folder) {
  const struct timespec times[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, folder.c_str(), times, 0), 0);
}

class Drives : public testing::Test {
 protected:
  test_support::TemporaryWinePrefix prefix;
};

TEST_F(Drives, DosdevicesLinksMapLettersAbsoluteOrRelativeAndCFallsBackToDriveC) {
  WriteHostFile(prefix.OnC("on-c.txt"), "");
  EXPECT_EQ(Host("c:\\on-c.txt"), prefix.OnC("on-c.txt"));

  fs::create_directories(prefix.path() / "dosdevices");
  fs::create_directories(prefix.path() / "elsewhere" / "Data");
  fs::create_directory_symlink(prefix.path() / "elsewhere", prefix.path() / "dosdevices" / "d:");
  fs::create_directory_symlink("../elsewhere/Data", prefix.path() / "dosdevices" / "e:");
  EXPECT_EQ(Host("D:\\Data"), (prefix.path() / "elsewhere" / "Data").string());
  // As Wine links c: to "../drive_c": the path is named from the prefix.
  EXPECT_EQ(Host("e:\\"), (prefix.path() / "elsewhere/Data").string());

  // A c: link wins over drive_c.
  fs::create_directory_symlink(prefix.path() / "elsewhere", prefix.path() / "dosdevices" / "c:");
  EXPECT_EQ(Host("c:\\Data"), (prefix.path() / "elsewhere" / "Data").string());
}

TEST_F(Drives, UnmappedOrDanglingDriveIsAnError) {
  fs::create_directories(prefix.path() / "dosdevices");
  fs::create_directory_symlink(prefix.path() / "gone", prefix.path() / "dosdevices" / "g:");
  std::string host;
  EXPECT_EQ(platform::HostPath("q:\\x", host), ENODEV);
  EXPECT_EQ(platform::HostPath("g:\\x", host), ENODEV);
  EXPECT_EQ(platform::ChangeDrive('q'), ENODEV);
  EXPECT_EQ(platform::ChangeDrive('\0'), ENODEV);
  EXPECT_EQ(Exists("q:\\"), ENODEV);

  fs::remove_all(prefix.path() / "drive_c");
  EXPECT_EQ(platform::HostPath("c:\\x", host), ENODEV);
}

TEST_F(Drives, WithoutWineprefixTheHomeFoldersWineIsUsed) {
  const char* oldHome = getenv("HOME");
  const std::string savedHome = oldHome != nullptr ? oldHome : "";
  fs::create_directories(prefix.path() / ".wine" / "drive_c");
  unsetenv("WINEPREFIX");
  setenv("HOME", prefix.path().c_str(), 1);
  const std::string host = Host("c:\\");
  setenv("HOME", savedHome.c_str(), 1);
  EXPECT_EQ(host, (prefix.path() / ".wine" / "drive_c").string());
}

class Names : public testing::Test {
 protected:
  test_support::TemporaryWinePrefix prefix;
};

TEST_F(Names, CapitalisedFoldersOnDiskAreReachedByLowerCaseNames) {
  WriteHostFile(prefix.OnC("Program Files/Worldcraft/Textures/Castle.WAD"), "wad");
  EXPECT_EQ(Host("c:\\program files\\worldcraft\\textures\\castle.wad"),
            prefix.OnC("Program Files/Worldcraft/Textures/Castle.WAD"));
  EXPECT_EQ(Host("C:/PROGRAM FILES/worldcraft/./Textures/../textures/CASTLE.wad"),
            prefix.OnC("Program Files/Worldcraft/Textures/Castle.WAD"));
  EXPECT_EQ(Exists("c:\\program files\\worldcraft\\textures\\base.wad"), ENOENT);
  EXPECT_EQ(Exists("c:\\program files\\worldcraft\\textures\\castle.wad\\x"), ENOTDIR);
}

TEST_F(Names, ExactMatchWinsOtherwiseTheFirstVariantInByteOrder) {
  WriteHostFile(prefix.OnC("Maps/level.map"), "lower");
  WriteHostFile(prefix.OnC("Maps/Level.map"), "capital");
  WriteHostFile(prefix.OnC("Maps/LEVEL.MAP"), "upper");
  EXPECT_EQ(Host("c:\\maps\\Level.map"), prefix.OnC("Maps/Level.map"));
  EXPECT_EQ(Host("c:\\maps\\level.MAP"), prefix.OnC("Maps/LEVEL.MAP"));
}

TEST_F(Names, NewNamesReuseAnExistingCaseVariantOrStayAsGiven) {
  WriteHostFile(prefix.OnC("Logs/Castle.LOG"), "old");
  platform::FileSystem& files = platform::NativeFileSystem();
  platform::File file;
  ASSERT_EQ(files.Create("c:\\logs\\castle.log", file), 0);
  ASSERT_EQ(files.Write(file, "new", 3), 0);
  ASSERT_EQ(files.Close(file), 0);
  EXPECT_EQ(ReadHostFile(prefix.OnC("Logs/Castle.LOG")), "new");
  EXPECT_FALSE(fs::exists(prefix.OnC("Logs/castle.log")));

  ASSERT_EQ(files.Create("c:\\logs\\Base.Log", file), 0);
  ASSERT_EQ(files.Close(file), 0);
  EXPECT_TRUE(fs::exists(prefix.OnC("Logs/Base.Log")));

  ASSERT_EQ(files.MakeFolder("c:\\LOGS\\Old"), 0);
  EXPECT_TRUE(fs::is_directory(prefix.OnC("Logs/Old")));
  EXPECT_EQ(files.MakeFolder("c:\\logs\\old"), EEXIST);
  EXPECT_EQ(files.MakeFolder("c:\\missing\\old"), ENOENT);
  EXPECT_EQ(Host("c:\\logs\\missing\\Deeper.txt"), prefix.OnC("Logs/missing/Deeper.txt"));
}

TEST_F(Names, RememberedFolderNamesFollowChangesOnDisk) {
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

TEST_F(Names, CharactersWindowsForbidsAreRejected) {
  fs::create_directories(prefix.OnC("Ok"));
  platform::FileSystem& files = platform::NativeFileSystem();
  const std::vector<std::string> names{
      "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a:b", "a\tb", std::string("a\0b", 3)};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    platform::File file;
    std::string host;
    EXPECT_EQ(files.Create("c:\\ok\\" + name, file), EINVAL);
    EXPECT_EQ(file.handle, -1);
    EXPECT_EQ(files.MakeFolder("c:\\ok\\" + name), EINVAL);
    EXPECT_EQ(Exists("c:\\ok\\" + name), EINVAL);
    EXPECT_EQ(platform::HostPath("ok\\" + name, host), EINVAL);
  }
  EXPECT_EQ(Exists("c::\\ok"), EINVAL);
  EXPECT_EQ(Exists(""), ENOENT);
  EXPECT_TRUE(fs::is_empty(prefix.OnC("Ok")));
}

TEST_F(Names, ATrailingSeparatorNamesOnlyAFolder) {
  WriteHostFile(prefix.OnC("Data/victim.txt"), "keep");
  fs::create_directories(prefix.OnC("Data/Sub"));
  platform::FileSystem& files = platform::NativeFileSystem();
  platform::File file;
  for (const char* path : {"c:\\data\\victim.txt\\", "c:\\data\\victim.txt/"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Exists(path), ENOTDIR);
    EXPECT_EQ(files.Delete(path), ENOTDIR);
    EXPECT_EQ(files.OpenRead(path, file), ENOTDIR);
    EXPECT_EQ(files.Create(path, file), ENOTDIR);
    EXPECT_EQ(files.Rename(path, "c:\\data\\moved.txt"), ENOTDIR);
    EXPECT_EQ(file.handle, -1);
  }
  EXPECT_EQ(ReadHostFile(prefix.OnC("Data/victim.txt")), "keep");

  EXPECT_EQ(Exists("c:\\data\\sub\\"), 0);
  EXPECT_EQ(Host("c:\\DATA\\SUB\\"), prefix.OnC("Data/Sub"));
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  ASSERT_EQ(platform::ChangeFolder("c:\\data\\sub\\"), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Data\\Sub");
  // A new name so written can become a folder but not a file.
  EXPECT_NE(files.Create("c:\\data\\new.txt\\", file), 0);
  EXPECT_EQ(file.handle, -1);
  EXPECT_FALSE(fs::exists(prefix.OnC("Data/new.txt")));
  EXPECT_EQ(Host("c:\\data\\new\\"), prefix.OnC("Data/new"));
  EXPECT_EQ(files.MakeFolder("c:\\data\\made\\"), 0);
  EXPECT_TRUE(fs::is_directory(prefix.OnC("Data/made")));
}

TEST_F(Names, TrailingSpacesAndDotsOfTheLastNameAreDropped) {
  WriteHostFile(prefix.OnC("Data/victim.txt"), "keep");
  platform::FileSystem& files = platform::NativeFileSystem();
  for (const char* path :
       {"c:\\data\\victim.txt.", "c:\\data\\VICTIM.TXT ", "c:\\data\\victim.txt. ."}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Host(path), prefix.OnC("Data/victim.txt"));
  }
  // A new file gets the name without them, as on Windows.
  platform::File file;
  ASSERT_EQ(files.Create("c:\\data\\new.log. ", file), 0);
  ASSERT_EQ(files.Close(file), 0);
  EXPECT_TRUE(fs::exists(prefix.OnC("Data/new.log")));
  ASSERT_EQ(files.Rename("c:\\data\\new.log", "c:\\data\\NEW.LOG.."), 0);
  EXPECT_TRUE(fs::exists(prefix.OnC("Data/NEW.LOG")));
  ASSERT_EQ(files.Delete("c:\\data\\victim.txt."), 0);
  EXPECT_FALSE(fs::exists(prefix.OnC("Data/victim.txt")));
}

TEST_F(Names, OverlongNamesFailWithoutHarm) {
  const std::string name(70000, 'x');
  platform::File file;
  EXPECT_NE(platform::NativeFileSystem().Create("c:\\" + name, file), 0);
  EXPECT_NE(Exists("c:\\" + name), 0);
  EXPECT_EQ(file.handle, -1);
}

}  // namespace

}  // namespace platform_tests
