// The Win32 file system: the contract every implementation keeps, then what only it does
// (attributes, short names, UTF-8 names, links).

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "tests/platform/file_system_contract.h"
#include "tests/support/host_files.h"
#include "tests/support/temporary_folder.h"

namespace platform_win32_tests {

namespace {

using Names = std::vector<std::string>;
using test_support::ReadHostFile;
using test_support::WriteHostFile;

class Native : public platform_contract::FileSystemUnderTest {
 public:
  // Windows cannot remove a folder while it is current.
  ~Native() override {
    static_cast<void>(platform::ChangeFolder(std::filesystem::temp_directory_path().string()));
  }
  platform::FileSystem& fs() override { return platform::NativeFileSystem(); }
  std::string Folder() const override { return folder_.path().string(); }
  std::string OtherDriveRoot() const override {
    for (char letter = 'Z'; letter > 'C'; --letter) {
      const std::string root = std::string(1, letter) + ":\\";
      if (letter != std::toupper(static_cast<unsigned char>(Folder()[0])) &&
          GetDriveTypeA(root.c_str()) == DRIVE_FIXED) {
        return root;
      }
    }
    return "";
  }

 private:
  test_support::TemporaryFolder folder_;
};

const platform_contract::FileSystemKind kNative{"Native",
                                                [] { return std::make_unique<Native>(); }};
using platform_contract::FileSystemContract;
using platform_contract::NativeContract;
INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, testing::Values(kNative),
                         platform_contract::KindName);
INSTANTIATE_TEST_SUITE_P(Win32, NativeContract, testing::Values(kNative),
                         platform_contract::KindName);

platform::FileSystem& fs() {
  return platform::NativeFileSystem();
}

void SetAttributes(const std::string& path, DWORD attributes) {
  ASSERT_NE(SetFileAttributesA(path.c_str(), attributes), 0) << path;
}

class Win32Files : public testing::Test {
 protected:
  test_support::TemporaryFolder folder_;
  const std::string scratch = folder_.path().string() + "\\";
};

// The programs' names are UTF-8 whatever the system's code pages: every name Windows can hold is
// written and listed as such. (Wine refuses names with a lone surrogate, the only ones the listing
// leaves out on Windows, so they cannot be made here.) Hidden and system files are left out, and a
// long name must match the pattern, not its short name.
TEST_F(Win32Files, ListingGivesEveryVisibleNameAsUtf8) {
  const Names listed = {
      "b.wad",        "Ch\u00e2teau.wad",       "Preis_\u20ac.wad",
      "readonly.wad", "\u0414\u043e\u043c.wad", "\u30c6\u30af\u30b9\u30c1\u30e3.wad"};
  Names all = listed;
  all.insert(all.end(), {"hidden.wad", "system.wad", "both.wad", "texture collection.wad.bak"});
  for (const std::string& name : all) {
    ASSERT_EQ(platform_contract::PutFile(fs(), scratch + name, "1234"), 0) << name;
  }
  SetAttributes(scratch + "hidden.wad", FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(scratch + "system.wad", FILE_ATTRIBUTE_SYSTEM);
  SetAttributes(scratch + "both.wad", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetAttributes(scratch + "readonly.wad", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  WIN32_FIND_DATAW found{};
  const HANDLE search =
      FindFirstFileW((folder_.path() / L"\u0414\u043e\u043c.wad").wstring().c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);

  Names names;
  std::size_t leftOut = 0;
  ASSERT_EQ(fs().List(scratch, "*.wad", names, leftOut), 0);
  EXPECT_EQ(names, listed);
  EXPECT_EQ(leftOut, 0u);
  SetAttributes(scratch + "readonly.wad", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32Files, FailuresCarryTheSystemsErrorCodes) {
  const std::string locked = scratch + "locked.txt";
  WriteHostFile(locked, "keep");
  WriteHostFile(scratch + "other.txt", "other");
  SetAttributes(locked, FILE_ATTRIBUTE_READONLY);
  platform::File file;
  EXPECT_EQ(fs().Delete(locked), ERROR_ACCESS_DENIED);
  EXPECT_EQ(fs().Create(locked, file), ERROR_ACCESS_DENIED);
  SetAttributes(locked, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(fs().Rename(scratch + "other.txt", locked), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadHostFile(locked), "keep");

  const std::string notFound = platform::ErrorDescription(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(notFound.empty());
  EXPECT_NE(notFound, platform::ErrorDescription(ERROR_ACCESS_DENIED));
  EXPECT_EQ(notFound.find_first_of("\r\n"), std::string::npos);
}

// Create gives a linked name a file of its own and leaves the link's target alone.
TEST_F(Win32Files, CreateReplacesSymbolicAndHardLinks) {
  const std::string victim = scratch + "victim.txt";
  WriteHostFile(victim, "the user's own file");
  constexpr DWORD kAllowUnprivileged = 0x2;
  const std::pair<const char*, bool> links[] = {
      {"symbolic.bat", CreateSymbolicLinkA((scratch + "symbolic.bat").c_str(), victim.c_str(),
                                           kAllowUnprivileged) != 0},
      {"hard.bat", CreateHardLinkA((scratch + "hard.bat").c_str(), victim.c_str(), nullptr) != 0},
  };
  for (const auto& [name, made] : links) {
    if (!made) {
      continue;  // not every file system here has both kinds
    }
    ASSERT_EQ(platform_contract::PutFile(fs(), scratch + name, "exit\r\n"), 0) << name;
    EXPECT_EQ(ReadHostFile(scratch + name), "exit\r\n");
    EXPECT_EQ(GetFileAttributesA((scratch + name).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  }
  EXPECT_EQ(ReadHostFile(victim), "the user's own file");
}

}  // namespace

}  // namespace platform_win32_tests
