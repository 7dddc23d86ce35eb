#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/ole_date.h"
#include "tests/platform/wine_prefix_test.h"

namespace platform_tests {

namespace {

namespace fs = std::filesystem;

platform::FileSystem& Files() {
  return platform::NativeFileSystem();
}

void SetModificationTime(const std::string& path, time_t seconds, long nanoseconds) {
  const struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

void UseTimeZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}

void MakeReadOnly(const std::string& path) {
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

using Times = WinePrefixTest;

TEST_F(Times, ModificationTimeIsLocalTimeAtWholeSecondsAsAnOleDate) {
  MakeFile("Textures/base.wad");
  MakeFolder("Textures/logs");
  // 2001-02-03 04:05:06.789 UTC.
  SetModificationTime(OnC("Textures/base.wad"), 981173106, 789'000'000);
  SetModificationTime(OnC("Textures/logs"), 981173106, 0);
  const double expectedUtc = 36925 + (4 * 3600 + 5 * 60 + 6) / 86400.0;

  UseTimeZone("UTC");
  double first = 0;
  double second = 0;
  ASSERT_EQ(Files().ModificationTime("c:\\textures\\BASE.WAD", first), 0);
  ASSERT_EQ(Files().ModificationTime("c:\\textures\\base.wad", second), 0);
  EXPECT_EQ(first, expectedUtc);
  EXPECT_EQ(first, second);
  ASSERT_EQ(Files().ModificationTime("c:\\textures\\logs", second), 0);
  EXPECT_EQ(second, expectedUtc);

  // Five hours west of UTC: the day before, 23:05:06.
  UseTimeZone("EST5");
  ASSERT_EQ(Files().ModificationTime("c:\\textures\\base.wad", first), 0);
  EXPECT_EQ(first, 36924 + (23 * 3600 + 5 * 60 + 6) / 86400.0);
}

TEST(OleDate, CountsFromTheEndOf1899BothWays) {
  UseTimeZone("UTC");
  EXPECT_EQ(platform::posix::OleDateOf(-2209161600), 0.0);  // 1899-12-30 00:00
  EXPECT_EQ(platform::posix::OleDateOf(-2209161600 + 86400 + 43200), 1.5);
  EXPECT_EQ(platform::posix::OleDateOf(-2209161600 - 86400 + 21600), -1.25);
  const time_t before = time(nullptr);
  const double now = platform::LocalNow();
  const time_t after = time(nullptr);
  EXPECT_GE(now, platform::posix::OleDateOf(before));
  EXPECT_LE(now, platform::posix::OleDateOf(after));
}

using Listing = WinePrefixTest;

TEST_F(Listing, MatchesWithoutCaseSortsIgnoringCaseAndShowsOnlyVisibleFiles) {
  for (const char* name :
       {"b.wad", "A.WAD", "a.wad", "C.Wad", ".hidden.wad", "notes.txt", "castle.wad2", "x.wa"}) {
    MakeFile(std::string("Textures/") + name);
  }
  MakeFolder("Textures/folder.wad");
  fs::create_symlink(OnC("Textures/b.wad"), OnC("Textures/link.wad"));
  std::vector<std::string> names{"stale"};
  ASSERT_EQ(Files().List("c:\\TEXTURES", "*.wad", names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"A.WAD", "a.wad", "b.wad", "C.Wad", "link.wad"}));

  ASSERT_EQ(Files().List("c:\\textures", "?.WA?", names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"A.WAD", "a.wad", "b.wad", "C.Wad"}));
  ASSERT_EQ(Files().List("c:\\textures", "*a*d2", names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"castle.wad2"}));

  EXPECT_EQ(Files().List("c:\\missing", "*", names), ENOENT);
  EXPECT_TRUE(names.empty());
}

TEST_F(Listing, LeavesOutNamesWindowsCannotHoldAndCountsThem) {
  // Linux allows all of these; each would break a batch line or lead Windows to another file.
  for (const char* name : {"line\nbreak.wad", "carriage\rreturn.wad", "tab\t.wad", "bell\a.wad",
                           "a<b.wad", "a>b.wad", "a:b.wad", "a\"b.wad", "a|b.wad", "a?b.wad",
                           "a*b.wad", "space.wad ", "dot.wad.", "kept.wad", "also kept.wad"}) {
    MakeFile(std::string("Textures/") + name);
  }
  MakeFile("Textures/other:name.txt");
  std::vector<std::string> names;
  std::size_t leftOut = 0;
  ASSERT_EQ(Files().List("c:\\textures", "*", names, leftOut), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"also kept.wad", "kept.wad"}));
  EXPECT_EQ(leftOut, 14u);
  // Only the names that match the pattern count.
  ASSERT_EQ(Files().List("c:\\textures", "*.txt", names, leftOut), 0);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(leftOut, 1u);
}

using FileOperations = WinePrefixTest;

TEST_F(FileOperations, DeleteRefusesFoldersReadOnlyAndMissingFiles) {
  MakeFile("Data/Gone.txt");
  MakeFile("Data/Locked.txt", "keep");
  MakeFolder("Data/Sub");
  MakeReadOnly(OnC("Data/Locked.txt"));
  EXPECT_EQ(Files().Delete("c:\\data\\gone.txt"), 0);
  EXPECT_FALSE(fs::exists(OnC("Data/Gone.txt")));
  EXPECT_EQ(Files().Delete("c:\\data\\gone.txt"), ENOENT);
  EXPECT_EQ(Files().Delete("c:\\data\\locked.txt"), EACCES);
  EXPECT_EQ(Content(OnC("Data/Locked.txt")), "keep");
  EXPECT_EQ(Files().Delete("c:\\data\\sub"), EISDIR);
  EXPECT_TRUE(fs::is_directory(OnC("Data/Sub")));
}

TEST_F(FileOperations, RenameNeverReplacesButMayChangeLetterCase) {
  MakeFile("Maps/Level.map", "map");
  MakeFile("Maps/Level.BKR", "backup");
  EXPECT_EQ(Files().Rename("c:\\maps\\level.map", "c:\\maps\\level.bkr"), EEXIST);
  EXPECT_EQ(Content(OnC("Maps/Level.map")), "map");
  EXPECT_EQ(Content(OnC("Maps/Level.BKR")), "backup");
  EXPECT_EQ(Files().Rename("c:\\maps\\missing.map", "c:\\maps\\new.map"), ENOENT);
  EXPECT_EQ(Files().Rename("c:\\maps\\level.map", "c:\\nowhere\\level.bkr"), ENOENT);

  ASSERT_EQ(Files().Delete("c:\\maps\\level.bkr"), 0);
  ASSERT_EQ(Files().Rename("c:\\maps\\level.map", "c:\\maps\\level.bkr"), 0);
  EXPECT_EQ(Content(OnC("Maps/level.bkr")), "map");
  ASSERT_EQ(Files().Rename("c:\\maps\\level.bkr", "c:\\maps\\LEVEL.bkr"), 0);
  EXPECT_EQ(Content(OnC("Maps/LEVEL.bkr")), "map");
  EXPECT_FALSE(fs::exists(OnC("Maps/level.bkr")));
}

TEST_F(FileOperations, CreateWriteReadAndTheirFailures) {
  MakeFile("Out/long.txt", "a much longer old content");
  MakeFile("Out/ReadOnly.txt", "keep");
  MakeReadOnly(OnC("Out/ReadOnly.txt"));
  platform::File file;
  ASSERT_EQ(Files().Create("c:\\out\\LONG.TXT", file), 0);
  ASSERT_EQ(Files().Write(file, "short\r\n", 7), 0);
  ASSERT_EQ(Files().Sync(file), 0);
  ASSERT_EQ(Files().Close(file), 0);
  EXPECT_EQ(file.handle, -1);
  EXPECT_EQ(Files().Close(file), 0);
  EXPECT_EQ(Content(OnC("Out/long.txt")), "short\r\n");

  std::int64_t length = 0;
  ASSERT_EQ(Files().Length("c:\\out\\long.txt", length), 0);
  EXPECT_EQ(length, 7);
  ASSERT_EQ(Files().OpenRead("c:\\out\\long.txt", file), 0);
  char buffer[16];
  std::size_t got = 0;
  ASSERT_EQ(Files().Read(file, buffer, sizeof buffer, got), 0);
  EXPECT_EQ(std::string(buffer, got), "short\r\n");
  ASSERT_EQ(Files().Read(file, buffer, sizeof buffer, got), 0);
  EXPECT_EQ(got, 0u);
  ASSERT_EQ(Files().Close(file), 0);

  EXPECT_EQ(Files().Create("c:\\out\\readonly.txt", file), EACCES);
  EXPECT_EQ(Content(OnC("Out/ReadOnly.txt")), "keep");
  EXPECT_EQ(Files().Create("c:\\missing\\x.txt", file), ENOENT);
  EXPECT_EQ(Files().Write(file, "x", 1), EBADF);
  EXPECT_EQ(Files().Read(file, buffer, 1, got), EBADF);
  EXPECT_EQ(Files().OpenRead("c:\\out", file), EISDIR);
  EXPECT_EQ(Files().Length("c:\\out", length), EISDIR);
  EXPECT_EQ(Files().OpenRead("c:\\out\\missing.txt", file), ENOENT);
  EXPECT_EQ(file.handle, -1);
}

// What Create, Write and Close leave at `path`.
platform::Error CreateHolding(const std::string& path, const std::string& content) {
  platform::File file;
  if (const platform::Error error = Files().Create(path, file); error != 0) {
    return error;
  }
  const platform::Error error = Files().Write(file, content.data(), content.size());
  const platform::Error closeError = Files().Close(file);
  return error != 0 ? error : closeError;
}

TEST_F(FileOperations, CreateReplacesALinkAtTheNameAndNeverWritesItsTarget) {
  MakeFile("Textures/base.wad");
  MakeFile("victim.txt", "the user's own file");
  MakeFile("locked.txt", "read-only");
  MakeReadOnly(OnC("locked.txt"));
  fs::create_symlink(OnC("victim.txt"), OnC("Textures/2HLWAD.BAT"));
  fs::create_symlink(OnC("locked.txt"), OnC("Textures/locked.log"));
  fs::create_symlink(OnC("nowhere/new.txt"), OnC("Textures/dangling.log"));

  ASSERT_EQ(CreateHolding("c:\\textures\\2hlwad.bat", "c:\r\n"), 0);
  EXPECT_EQ(Content(OnC("victim.txt")), "the user's own file");
  EXPECT_FALSE(fs::is_symlink(OnC("Textures/2HLWAD.BAT")));
  EXPECT_EQ(Content(OnC("Textures/2HLWAD.BAT")), "c:\r\n");

  ASSERT_EQ(CreateHolding("c:\\textures\\locked.log", "log"), 0);
  EXPECT_EQ(Content(OnC("locked.txt")), "read-only");
  EXPECT_EQ(Content(OnC("Textures/locked.log")), "log");

  ASSERT_EQ(CreateHolding("c:\\textures\\dangling.log", "log"), 0);
  EXPECT_FALSE(fs::exists(OnC("nowhere")));
  EXPECT_EQ(Content(OnC("Textures/dangling.log")), "log");

  // Reading through a link stays allowed: a user may link WADs into the folder.
  fs::create_symlink(OnC("victim.txt"), OnC("Textures/linked.wad"));
  platform::File file;
  ASSERT_EQ(Files().OpenRead("c:\\textures\\linked.wad", file), 0);
  EXPECT_EQ(Files().Close(file), 0);
}

TEST_F(FileOperations, DeleteRemovesLinksNotTheirTargets) {
  MakeFile("victim.txt", "keep");
  MakeFolder("Logs");
  fs::create_symlink(OnC("victim.txt"), OnC("Logs/a.log"));
  fs::create_symlink(OnC("gone.txt"), OnC("Logs/b.log"));
  EXPECT_EQ(Files().Delete("c:\\logs\\a.log"), 0);
  EXPECT_EQ(Files().Delete("c:\\logs\\B.LOG"), 0);
  EXPECT_TRUE(fs::is_empty(OnC("Logs")));
  EXPECT_EQ(Content(OnC("victim.txt")), "keep");
  EXPECT_EQ(Files().Delete("c:\\logs\\b.log"), ENOENT);
  EXPECT_EQ(Files().Delete("c:\\nowhere\\b.log"), ENOENT);
}

TEST_F(FileOperations, CreateRefusesAFifoWithoutBlocking) {
  MakeFolder("Logs");
  ASSERT_EQ(mkfifo(OnC("Logs/x.log").c_str(), 0666), 0);
  // No reader: the open fails at once instead of waiting for one.
  EXPECT_NE(CreateHolding("c:\\logs\\x.log", "log"), 0);
  const int reader = open(OnC("Logs/x.log").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(CreateHolding("c:\\logs\\x.log", "log"), EACCES);
  close(reader);
  EXPECT_TRUE(fs::is_fifo(OnC("Logs/x.log")));
}

}  // namespace

}  // namespace platform_tests
