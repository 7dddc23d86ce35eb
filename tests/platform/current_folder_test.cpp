#include <errno.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"

namespace platform_tests {

namespace {

namespace fs = std::filesystem;
using test_support::WriteHostFile;

class CurrentFolder : public testing::Test {
 protected:
  test_support::TemporaryWinePrefix prefix;
};

TEST_F(CurrentFolder, FollowsTheLetterCaseOnDiskAndMovesTheProcessAlong) {
  fs::create_directories(prefix.OnC("Program Files/Worldcraft/Textures"));
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\");
  EXPECT_EQ(fs::current_path(), prefix.OnC(""));

  ASSERT_EQ(platform::ChangeFolder("c:\\program files\\worldcraft\\textures"), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Program Files\\Worldcraft\\Textures");
  EXPECT_EQ(fs::current_path(), prefix.OnC("Program Files/Worldcraft/Textures"));

  ASSERT_EQ(platform::ChangeFolder(".."), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Program Files\\Worldcraft");
  ASSERT_EQ(platform::ChangeFolder("\\program files"), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Program Files");
  EXPECT_EQ(fs::current_path(), prefix.OnC("Program Files"));
}

TEST_F(CurrentFolder, EachDriveKeepsItsOwnFolder) {
  fs::create_directories(prefix.OnC("Games/Quake"));
  fs::create_directories(prefix.path() / "dosdevices");
  fs::create_directories(prefix.path() / "d-drive" / "Maps");
  fs::create_directory_symlink(prefix.path() / "d-drive", prefix.path() / "dosdevices" / "d:");
  ASSERT_EQ(platform::ChangeDrive('C'), 0);
  ASSERT_EQ(platform::ChangeFolder("c:\\games"), 0);

  // Another drive's folder changes without leaving the current one.
  ASSERT_EQ(platform::ChangeFolder("d:\\maps"), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Games");
  EXPECT_EQ(fs::current_path(), prefix.OnC("Games"));

  ASSERT_EQ(platform::ChangeDrive('d'), 0);
  EXPECT_EQ(platform::CurrentFolder(), "D:\\Maps");
  EXPECT_EQ(fs::current_path(), prefix.path() / "d-drive" / "Maps");

  // "c:quake" is relative to drive c's own folder.
  ASSERT_EQ(platform::ChangeFolder("c:quake"), 0);
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Games\\Quake");
}

TEST_F(CurrentFolder, FailedChangesLeaveItAsItWas) {
  WriteHostFile(prefix.OnC("Games/readme.txt"), "");
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  ASSERT_EQ(platform::ChangeFolder("c:\\games"), 0);
  EXPECT_EQ(platform::ChangeFolder("c:\\games\\readme.txt"), ENOTDIR);
  EXPECT_EQ(platform::ChangeFolder("c:\\missing"), ENOENT);
  EXPECT_EQ(platform::ChangeFolder("q:\\"), ENODEV);
  EXPECT_EQ(platform::ChangeFolder(""), ENOENT);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Games");
  EXPECT_EQ(fs::current_path(), prefix.OnC("Games"));
  // A drive whose folder has gone since is entered at its root.
  fs::remove_all(prefix.OnC("Games"));
  ASSERT_EQ(platform::ChangeDrive('c'), 0);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\");
  EXPECT_EQ(fs::current_path(), prefix.OnC(""));
}

TEST_F(CurrentFolder, HostPathsAndRelativeNamesBeforeAnyChange) {
  // A fresh process: the current folder is the host working folder the program was started in.
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
