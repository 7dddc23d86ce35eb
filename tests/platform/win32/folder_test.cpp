#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tests/support/host_files.h"
#include "tests/support/temporary_folder.h"

namespace platform_win32_tests {

namespace {

// Each test leaves the current folder outside its scratch folder, which Windows could not remove
// while it is current.
class Win32Folders : public ::testing::Test {
 protected:
  // A test program starts in its build folder, which may lie on another drive.
  void SetUp() override { ASSERT_EQ(platform::ChangeDrive(scratch[0]), 0); }
  void TearDown() override {
    EXPECT_EQ(platform::ChangeFolder(std::filesystem::temp_directory_path().string()), 0);
  }

  test_support::TemporaryFolder folder_;
  const std::string scratch = folder_.path().string() + "\\";
};

std::string WithoutSlash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') {
    path.pop_back();
  }
  return path;
}

// A drive other than the scratch folder's, or 0 when the machine has only one.
char OtherDrive(char drive) {
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'Z'; letter >= 'D'; --letter) {
    if (letter != drive && (drives & (1u << (letter - 'A'))) != 0 &&
        GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) == DRIVE_FIXED) {
      return letter;
    }
  }
  return 0;
}

TEST_F(Win32Folders, TheCurrentFolderKeepsTheLetterCaseOnDisk) {
  ASSERT_TRUE(CreateDirectoryA((scratch + "Mixed Case").c_str(), nullptr));
  ASSERT_EQ(platform::ChangeFolder(scratch + "MIXED CASE\\"), 0);
  const std::string current = platform::CurrentFolder();
  EXPECT_EQ(current.substr(current.size() - 11), "\\Mixed Case");
  platform::File file;
  ASSERT_EQ(platform::NativeFileSystem().Create("here.txt", file), 0);
  EXPECT_EQ(platform::NativeFileSystem().Close(file), 0);
  EXPECT_NE(test_support::ReadHostFile(scratch + "Mixed Case\\here.txt"), "<missing>");

  EXPECT_NE(platform::ChangeFolder(scratch + "missing"), 0);
  test_support::WriteHostFile(scratch + "file", "x");
  EXPECT_NE(platform::ChangeFolder(scratch + "file"), 0);
  EXPECT_EQ(platform::CurrentFolder(), current);
}

TEST_F(Win32Folders, EachDriveKeepsTheFolderLastCurrentOnIt) {
  const std::string home = WithoutSlash(scratch);
  const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(home[0])));
  const char other = OtherDrive(drive);
  if (other == 0) {
    GTEST_SKIP() << "no second drive";
  }
  const std::string otherRoot = std::string(1, other) + ":\\";
  ASSERT_EQ(platform::ChangeFolder(home), 0);

  // A folder on another drive becomes that drive's folder; the current drive stays.
  ASSERT_EQ(platform::ChangeFolder(otherRoot), 0);
  EXPECT_EQ(platform::CurrentFolder(), home);
  ASSERT_EQ(platform::ChangeDrive(static_cast<char>(std::tolower(other))), 0);
  EXPECT_EQ(platform::CurrentFolder(), otherRoot);
  ASSERT_EQ(platform::ChangeDrive(drive), 0);
  EXPECT_EQ(platform::CurrentFolder(), home);

  // A relative name on the other drive is taken from that drive's folder.
  std::string host;
  ASSERT_EQ(platform::HostPath(std::string(1, other) + ":name", host), 0);
  EXPECT_EQ(host, otherRoot + "name");

  // A drive whose folder has gone is entered at its root.
  ASSERT_TRUE(CreateDirectoryA((scratch + "gone").c_str(), nullptr));
  ASSERT_EQ(platform::ChangeFolder(scratch + "gone"), 0);
  ASSERT_EQ(platform::ChangeDrive(other), 0);
  ASSERT_TRUE(RemoveDirectoryA((scratch + "gone").c_str()));
  ASSERT_EQ(platform::ChangeDrive(drive), 0);
  EXPECT_EQ(platform::CurrentFolder(), std::string(1, drive) + ":\\");

  EXPECT_NE(platform::ChangeDrive('1'), 0);
}

TEST_F(Win32Folders, HostPathsKeepNamesThatDoNotExistYet) {
  ASSERT_EQ(platform::ChangeFolder(scratch), 0);
  std::string host;
  ASSERT_EQ(platform::HostPath("New Folder\\..\\Not There.WAD", host), 0);
  EXPECT_EQ(host, scratch + "Not There.WAD");
}

}  // namespace

}  // namespace platform_win32_tests
