#include <errno.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tests/platform/wine_prefix_test.h"

namespace platform_tests {

namespace {

namespace fs = std::filesystem;

using CurrentFolder = WinePrefixTest;

TEST_F(CurrentFolder, FollowsTheLetterCaseOnDiskAndMovesTheProcessAlong) {
  MakeFolder("Program Files/Worldcraft/Textures");
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\");
  EXPECT_EQ(fs::current_path(), OnC(""));

  ASSERT_EQ(platform::ChangeFolder("c:\\program files\\worldcraft\\textures"), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Program Files\\Worldcraft\\Textures");
  EXPECT_EQ(fs::current_path(), OnC("Program Files/Worldcraft/Textures"));

  ASSERT_EQ(platform::ChangeFolder(".."), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Program Files\\Worldcraft");
  ASSERT_EQ(platform::ChangeFolder("\\program files"), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Program Files");
  EXPECT_EQ(fs::current_path(), OnC("Program Files"));
}

TEST_F(CurrentFolder, EachDriveKeepsItsOwnFolder) {
  MakeFolder("Games/Quake");
  fs::create_directories(prefix_ / "dosdevices");
  fs::create_directories(prefix_ / "d-drive" / "Maps");
  fs::create_directory_symlink(prefix_ / "d-drive", prefix_ / "dosdevices" / "d:");
  ASSERT_EQ(platform::ChangeDrive('C'), 0);
  ASSERT_EQ(platform::ChangeFolder("c:\\games"), 0);

  // Another drive's folder changes without leaving the current one.
  ASSERT_EQ(platform::ChangeFolder("d:\\maps"), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Games");
  EXPECT_EQ(fs::current_path(), OnC("Games"));

  ASSERT_EQ(platform::ChangeDrive('d'), 0);
  EXPECT_EQ(platform::CurrentFolder(), "D:\\Maps");
  EXPECT_EQ(fs::current_path(), prefix_ / "d-drive" / "Maps");

  // "c:quake" is relative to drive c's own folder.
  ASSERT_EQ(platform::ChangeFolder("c:quake"), 0);
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Games\\Quake");
}

TEST_F(CurrentFolder, FailedChangesLeaveItAsItWas) {
  MakeFile("Games/readme.txt");
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  ASSERT_EQ(platform::ChangeFolder("c:\\games"), 0);
  EXPECT_EQ(platform::ChangeFolder("c:\\games\\readme.txt"), ENOTDIR);
  EXPECT_EQ(platform::ChangeFolder("c:\\missing"), ENOENT);
  EXPECT_EQ(platform::ChangeFolder("q:\\"), ENODEV);
  EXPECT_EQ(platform::ChangeFolder(""), ENOENT);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Games");
  EXPECT_EQ(fs::current_path(), OnC("Games"));
  // A drive whose folder has gone since is entered at its root.
  fs::remove_all(OnC("Games"));
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\");
  EXPECT_EQ(fs::current_path(), OnC(""));
}

TEST_F(CurrentFolder, HostPathsAndRelativeNamesBeforeAnyChange) {
  // A fresh process: the current folder is the host working folder the program was started in.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  MakeFile("Start Here/Map.MAP", "x");
  ASSERT_EQ(chdir(OnC("Start Here").c_str()), 0);
  EXPECT_EXIT(
      {
        std::string host;
        const bool fine =
            platform::CurrentFolder() == OnC("Start Here") &&
            platform::HostPath("map.map", host) == 0 && host == OnC("Start Here/Map.MAP") &&
            platform::ChangeFolder(OnC("")) == 0 && platform::CurrentFolder() == OnC("") &&
            platform::HostPath("\\" + OnC("start here").substr(1), host) == 0 &&
            host == OnC("Start Here");
        std::exit(fine ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

}  // namespace platform_tests
