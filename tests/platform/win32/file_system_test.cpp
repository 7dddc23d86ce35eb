#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/platform_win32/scratch_folder.h"

namespace platform_win32_tests {

namespace {

using Names = std::vector<std::string>;

platform::FileSystem& fs() {
  return platform::NativeFileSystem();
}

void SetAttributes(const std::string& path, DWORD attributes) {
  ASSERT_NE(SetFileAttributesA(path.c_str(), attributes), 0) << path;
}

// Gives the file the local date and time `local` as its last-modification time.
void SetLocalModificationTime(const std::string& path, const SYSTEMTIME& local) {
  SYSTEMTIME universal{};
  FILETIME fileTime{};
  ASSERT_NE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal), 0);
  ASSERT_NE(SystemTimeToFileTime(&universal, &fileTime), 0);
  const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_NE(SetFileTime(file, nullptr, nullptr, &fileTime), 0);
  CloseHandle(file);
}

SYSTEMTIME Local(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second,
                 WORD milliseconds = 0) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  time.wMilliseconds = milliseconds;
  return time;
}

TEST(Win32Listing, LeavesOutFoldersHiddenAndSystemFilesAndSortsIgnoringCase) {
  ScratchFolder folder;
  for (const char* name : {"b.wad", "A.wad", "a.WAD", "C.wad", "hidden.wad", "system.wad",
                           "both.wad", "readonly.wad", "other.txt"}) {
    WriteWhole(folder.path() + name, "x");
  }
  ASSERT_TRUE(CreateDirectoryA((folder.path() + "folder.wad").c_str(), nullptr));
  SetAttributes(folder.path() + "hidden.wad", FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(folder.path() + "system.wad", FILE_ATTRIBUTE_SYSTEM);
  SetAttributes(folder.path() + "both.wad", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetAttributes(folder.path() + "readonly.wad", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);

  Names names;
  ASSERT_EQ(fs().List(folder.path(), "*.wad", names), 0);
  // "a.WAD" and "A.wad" are one name on Windows, so only one of them was made.
  EXPECT_EQ(names.size(), 4u);
  EXPECT_EQ(Names(names.begin() + 1, names.end()), (Names{"b.wad", "C.wad", "readonly.wad"}));
  EXPECT_TRUE(names.front() == "A.wad" || names.front() == "a.WAD") << names.front();
  SetAttributes(folder.path() + "readonly.wad", FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Listing, ALongNameMustMatchThePatternNotItsShortName) {
  ScratchFolder folder;
  for (const char* name : {"x.wadx", "texture collection.wad.bak", "real.wad", "long name.wad"}) {
    WriteWhole(folder.path() + name, "x");
  }
  Names names;
  ASSERT_EQ(fs().List(folder.path(), "*.wad", names), 0);
  EXPECT_EQ(names, (Names{"long name.wad", "real.wad"}));
  ASSERT_EQ(fs().List(folder.path(), "?.wad?", names), 0);
  EXPECT_EQ(names, Names{"x.wadx"});
}

TEST(Win32Listing, AMissingFolderFailsAndNoMatchIsAnEmptyList) {
  ScratchFolder folder;
  Names names = {"stale"};
  EXPECT_NE(fs().List(folder.path() + "missing", "*.wad", names), 0);
  EXPECT_TRUE(names.empty());
  names = {"stale"};
  EXPECT_EQ(fs().List(folder.path(), "*.wad", names), 0);
  EXPECT_TRUE(names.empty());
}

// The programs' names are UTF-8 whatever the system's code pages, so every name Windows can hold
// is listed, none left out, and opened again. (Wine refuses names with a lone surrogate, the only
// ones the listing leaves out on Windows, so they cannot be made here.)
TEST(Win32Names, EveryNameIsListedAndOpenedAsUtf8) {
  ScratchFolder folder;
  const Names written = {"Ch\u00e2teau.wad", "Preis_\u20ac.wad", "\u0414\u043e\u043c.wad",
                         "\u30c6\u30af\u30b9\u30c1\u30e3.wad"};
  for (const std::string& name : written) {
    platform::File file;
    ASSERT_EQ(fs().Create(folder.path() + name, file), 0) << name;
    ASSERT_EQ(fs().Write(file, "1234", 4), 0);
    ASSERT_EQ(fs().Close(file), 0);
  }
  WIN32_FIND_DATAW found{};
  const HANDLE search =
      FindFirstFileW((folder.host() / L"\u0414\u043e\u043c.wad").wstring().c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);

  Names names;
  std::size_t leftOut = 0;
  ASSERT_EQ(fs().List(folder.path(), "*.wad", names, leftOut), 0);
  EXPECT_EQ(names, written);
  EXPECT_EQ(leftOut, 0u);
  for (const std::string& name : written) {
    std::int64_t length = 0;
    EXPECT_EQ(fs().Length(folder.path() + name, length), 0) << name;
    EXPECT_EQ(length, 4) << name;
  }
}

TEST(Win32Times, ModificationTimesAreLocalWholeSecondsAsOleDates) {
  ScratchFolder folder;
  const std::string path = folder.path() + "dated.wad";
  WriteWhole(path, "x");
  const struct {
    SYSTEMTIME local;
    double ole;
  } cases[] = {
      {Local(2000, 1, 1, 0, 0, 0), 36526.0},
      {Local(2000, 1, 1, 12, 0, 0, 999), 36526.5},
      {Local(2004, 7, 15, 18, 30, 15), 38183.0 + (18 * 3600 + 30 * 60 + 15) / 86400.0},
      {Local(2021, 12, 31, 23, 59, 59), 44561.0 + 86399 / 86400.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.local.wYear) + "-" + std::to_string(c.local.wMonth) + "-" +
                 std::to_string(c.local.wDay) + " " + std::to_string(c.local.wHour));
    SetLocalModificationTime(path, c.local);
    double ole = 0;
    ASSERT_EQ(fs().ModificationTime(path, ole), 0);
    EXPECT_EQ(ole, c.ole);
  }
  double folderTime = 0;
  EXPECT_EQ(fs().ModificationTime(folder.path(), folderTime), 0);
  EXPECT_GT(folderTime, 36526.0);
}

TEST(Win32Times, NowIsTheLocalClockAtWholeSeconds) {
  SYSTEMTIME before{};
  GetLocalTime(&before);
  const double now = platform::LocalNow();
  const double seconds = now * 86400.0;
  // Whole seconds, up to the rounding of a day count held in a double.
  EXPECT_NEAR(seconds, std::round(seconds), 1e-3);
  const int secondOfDay = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
  const double fraction = now - static_cast<long long>(now);
  EXPECT_NEAR(fraction * 86400.0, secondOfDay, 2.0);
}

TEST(Win32Files, ReadOnlyFilesAndTakenNamesAreRefusedAsWindowsDoes) {
  ScratchFolder folder;
  const std::string locked = folder.path() + "locked.txt";
  WriteWhole(locked, "keep");
  WriteWhole(folder.path() + "other.txt", "other");
  SetAttributes(locked, FILE_ATTRIBUTE_READONLY);
  platform::File file;
  EXPECT_EQ(fs().Delete(locked), ERROR_ACCESS_DENIED);
  EXPECT_EQ(fs().Create(locked, file), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadWhole(locked), "keep");
  SetAttributes(locked, FILE_ATTRIBUTE_NORMAL);

  EXPECT_EQ(fs().Rename(folder.path() + "other.txt", locked), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadWhole(locked), "keep");
  EXPECT_EQ(fs().Rename(folder.path() + "other.txt", folder.path() + "moved.txt"), 0);
  EXPECT_EQ(ReadWhole(folder.path() + "moved.txt"), "other");

  EXPECT_EQ(fs().MakeFolder(folder.path() + "sub"), 0);
  EXPECT_NE(fs().MakeFolder(folder.path() + "sub"), 0);
  EXPECT_NE(fs().Delete(folder.path() + "sub"), 0);
  EXPECT_NE(fs().OpenRead(folder.path() + "sub", file), 0);
  EXPECT_EQ(file.handle, -1);
}

TEST(Win32Files, RawBytesGoOutAndComeBackUnchanged) {
  ScratchFolder folder;
  std::string bytes;
  for (int i = 0; i < 256; ++i) {
    bytes += static_cast<char>(i);
  }
  bytes += "\r\n\n\x1a tail";
  platform::File file;
  ASSERT_EQ(fs().Create(folder.path() + "raw.bin", file), 0);
  ASSERT_EQ(fs().Write(file, bytes.data(), bytes.size()), 0);
  ASSERT_EQ(fs().Sync(file), 0);
  ASSERT_EQ(fs().Close(file), 0);
  EXPECT_EQ(file.handle, -1);
  EXPECT_EQ(fs().Close(file), 0);

  ASSERT_EQ(fs().OpenRead(folder.path() + "raw.bin", file), 0);
  std::string back(bytes.size() + 10, '\0');
  std::size_t got = 0;
  ASSERT_EQ(fs().Read(file, back.data(), back.size(), got), 0);
  back.resize(got);
  EXPECT_EQ(back, bytes);
  ASSERT_EQ(fs().Read(file, back.data(), back.size(), got), 0);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(fs().Close(file), 0);
}

TEST(Win32Files, CreateReplacesAFileLinkAndLeavesItsTargetAlone) {
  ScratchFolder folder;
  const std::string victim = folder.path() + "victim.txt";
  const std::string link = folder.path() + "2hlwad.bat";
  WriteWhole(victim, "the user's own file");
  constexpr DWORD kAllowUnprivileged = 0x2;
  if (CreateSymbolicLinkA(link.c_str(), victim.c_str(), kAllowUnprivileged) == 0) {
    GTEST_SKIP() << "no symbolic links here: error " << GetLastError();
  }
  ASSERT_NE(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  platform::File file;
  ASSERT_EQ(fs().Create(link, file), 0);
  ASSERT_EQ(fs().Write(file, "exit\r\n", 6), 0);
  ASSERT_EQ(fs().Close(file), 0);
  EXPECT_EQ(ReadWhole(victim), "the user's own file");
  EXPECT_EQ(ReadWhole(link), "exit\r\n");
  EXPECT_EQ(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
}

TEST(Win32Files, CreateGivesAHardLinkedNameAFileOfItsOwn) {
  ScratchFolder folder;
  const std::string victim = folder.path() + "victim.txt";
  const std::string link = folder.path() + "2hlwad.bat";
  WriteWhole(victim, "the user's own file");
  if (CreateHardLinkA(link.c_str(), victim.c_str(), nullptr) == 0) {
    GTEST_SKIP() << "no hard links here: error " << GetLastError();
  }
  platform::File file;
  ASSERT_EQ(fs().Create(link, file), 0);
  ASSERT_EQ(fs().Write(file, "exit\r\n", 6), 0);
  ASSERT_EQ(fs().Close(file), 0);
  EXPECT_EQ(ReadWhole(victim), "the user's own file");
  EXPECT_EQ(ReadWhole(link), "exit\r\n");
}

TEST(Win32Errors, DescriptionsComeFromTheSystem) {
  const std::string notFound = platform::ErrorDescription(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(notFound.empty());
  EXPECT_NE(notFound, platform::ErrorDescription(ERROR_ACCESS_DENIED));
  EXPECT_EQ(notFound.find_first_of("\r\n"), std::string::npos);
}

}  // namespace

}  // namespace platform_win32_tests
