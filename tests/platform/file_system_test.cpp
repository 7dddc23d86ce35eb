// The POSIX file system: the contract every implementation keeps, then what only it does (links,
// FIFOs, permissions, names Linux allows and Windows does not, time zones).

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
#include "tests/platform/file_system_contract.h"
#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"

namespace platform_tests {

namespace {

namespace fs = std::filesystem;
using test_support::ReadHostFile;
using test_support::WriteHostFile;
using Names = std::vector<std::string>;

// Drive c: of a prefix of its own, with the folder on disk in other letter case than its name, and
// a drive d: beside it.
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

void UseTimeZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}

void MakeReadOnly(const std::string& path) {
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
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

class PosixFiles : public testing::Test {
 protected:
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
      {"UTC", "c:\\textures\\BASE.WAD", 36925 + (4 * 3600 + 5 * 60 + 6) / 86400.0},
      {"UTC", "c:\\textures", 36925 + (4 * 3600 + 5 * 60 + 6) / 86400.0},
      // Five hours west of UTC: the day before, 23:05:06.
      {"EST5", "c:\\textures\\base.wad", 36924 + (23 * 3600 + 5 * 60 + 6) / 86400.0},
  };
  for (const auto& c : cases) {
    UseTimeZone(c.zone);
    double date = 0;
    ASSERT_EQ(Files().ModificationTime(c.path, date), 0) << c.path;
    EXPECT_EQ(date, c.expected) << c.zone << " " << c.path;
  }
}

TEST(OleDate, CountsFromTheEndOf1899BothWays) {
  UseTimeZone("UTC");
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
  MakeReadOnly(prefix.OnC("Data/Locked.txt"));
  fs::create_directory(prefix.OnC("Data/Sub"));
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
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].error, cases[i].expected) << "case " << i;
  }
  EXPECT_EQ(ReadHostFile(prefix.OnC("Data/Locked.txt")), "keep");
}

TEST_F(PosixFiles, CreateAndDeleteReplaceALinkAndNeverTouchItsTarget) {
  WriteHostFile(prefix.OnC("victim.txt"), "the user's own file");
  WriteHostFile(prefix.OnC("locked.txt"), "read-only");
  MakeReadOnly(prefix.OnC("locked.txt"));
  fs::create_directory(prefix.OnC("Textures"));
  const struct {
    const char* target;
    const char* link;
  } links[] = {{"victim.txt", "2HLWAD.BAT"},
               {"locked.txt", "locked.log"},
               {"nowhere/new.txt", "dangling.log"}};
  for (const auto& link : links) {
    fs::create_symlink(prefix.OnC(link.target), prefix.OnC(std::string("Textures/") + link.link));
    ASSERT_EQ(CreateHolding("c:\\textures\\" + std::string(link.link), "new"), 0) << link.link;
    EXPECT_FALSE(fs::is_symlink(prefix.OnC(std::string("Textures/") + link.link)));
    EXPECT_EQ(ReadHostFile(prefix.OnC(std::string("Textures/") + link.link)), "new");
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

TEST_F(PosixFiles, CreateRefusesAFifoWithoutBlocking) {
  fs::create_directory(prefix.OnC("Logs"));
  ASSERT_EQ(mkfifo(prefix.OnC("Logs/x.log").c_str(), 0666), 0);
  // No reader: the open fails at once instead of waiting for one.
  EXPECT_NE(CreateHolding("c:\\logs\\x.log", "log"), 0);
  const int reader = open(prefix.OnC("Logs/x.log").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(CreateHolding("c:\\logs\\x.log", "log"), EACCES);
  close(reader);
  EXPECT_TRUE(fs::is_fifo(prefix.OnC("Logs/x.log")));
}

}  // namespace

}  // namespace platform_tests
