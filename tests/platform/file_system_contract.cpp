#include "tests/platform/file_system_contract.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/memory_file_system.h"

namespace platform_contract {

platform::Error PutFile(platform::FileSystem& fs, const std::string& path,
                        const std::string& content) {
  platform::File file;
  if (const platform::Error error = fs.Create(path, file); error != 0) {
    return error;
  }
  const platform::Error error = fs.Write(file, content.data(), content.size());
  const platform::Error closed = fs.Close(file);
  return error != 0 ? error : closed;
}

std::string GetFile(platform::FileSystem& fs, const std::string& path) {
  platform::OwnedFile file(fs);
  platform::Error error = fs.OpenRead(path, file.get());
  std::string content;
  char buffer[100];
  for (std::size_t got = 1; error == 0 && got != 0;) {
    error = fs.Read(file.get(), buffer, sizeof buffer, got);
    content.append(buffer, got);
  }
  return error == 0 ? content : "<error " + std::to_string(error) + ">";
}

namespace {

using Names = std::vector<std::string>;

TEST_P(FileSystemContract, BytesGoOutAndComeBackUnchanged) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) {
    bytes += static_cast<char>(i);
  }
  bytes += "\r\n\n\x1a tail";
  ASSERT_EQ(Put("raw.bin", std::string(1000, 'z')), 0);
  platform::File file;
  ASSERT_EQ(fs().Create(At("raw.bin"), file), 0);
  ASSERT_EQ(fs().Write(file, bytes.data(), bytes.size()), 0);
  ASSERT_EQ(fs().Sync(file), 0);
  ASSERT_EQ(fs().Close(file), 0);
  EXPECT_EQ(file.handle, -1);
  EXPECT_EQ(fs().Close(file), 0);
  EXPECT_EQ(Get("raw.bin"), bytes);
  std::int64_t length = 0;
  ASSERT_EQ(fs().Length(At("raw.bin"), length), 0);
  EXPECT_EQ(length, static_cast<std::int64_t>(bytes.size()));
}

TEST_P(FileSystemContract, AMissingNameFailsEveryCallAndOpensNothing) {
  platform::File file;
  std::int64_t length = 0;
  double date = 0;
  platform::FileFacts facts;
  const std::string missing = At("missing.txt");
  EXPECT_NE(fs().OpenRead(missing, file), 0);
  EXPECT_EQ(file.handle, -1);
  EXPECT_NE(fs().Length(missing, length), 0);
  EXPECT_NE(fs().ModificationTime(missing, date), 0);
  EXPECT_NE(fs().Inspect(missing, facts), 0);
  EXPECT_NE(fs().Delete(missing), 0);
  EXPECT_NE(fs().Rename(missing, At("new.txt")), 0);
  Names names{"stale"};
  EXPECT_EQ(fs().NamesLike(missing, names), 0);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(Get("new.txt").rfind("<error", 0), 0u);
}

TEST_P(FileSystemContract, RenameAndCreateNewNeverReplaceAFile) {
  ASSERT_EQ(Put("level.map", "map"), 0);
  ASSERT_EQ(Put("level.bkr", "backup"), 0);
  platform::File file;
  EXPECT_NE(fs().Rename(At("level.map"), At("level.bkr")), 0);
  EXPECT_NE(fs().CreateNew(At("level.bkr"), file), 0);
  EXPECT_EQ(file.handle, -1);
  EXPECT_EQ(Get("level.map"), "map");
  EXPECT_EQ(Get("level.bkr"), "backup");
  ASSERT_EQ(fs().Delete(At("level.bkr")), 0);
  ASSERT_EQ(fs().Rename(At("level.map"), At("level.bkr")), 0);
  EXPECT_EQ(Get("level.bkr"), "map");
  ASSERT_EQ(fs().CreateNew(At("free.txt"), file), 0);
  ASSERT_EQ(fs().Write(file, "new", 3), 0);
  ASSERT_EQ(fs().Close(file), 0);
  Names names;
  ASSERT_EQ(fs().List(Folder(), "*", names), 0);
  EXPECT_EQ(names, (Names{"free.txt", "level.bkr"}));
  EXPECT_EQ(Get("free.txt"), "new");
}

TEST_P(FileSystemContract, ReadAtReadsFromAnOffsetAndTruncateCutsBack) {
  ASSERT_EQ(Put("data.bin", "0123456789"), 0);
  platform::OwnedFile in(fs());
  ASSERT_EQ(fs().OpenRead(At("data.bin"), in.get()), 0);
  const struct {
    std::int64_t offset;
    std::string expected;
  } reads[] = {{3, "3456"}, {8, "89"}, {10, ""}, {20, ""}};
  for (const auto& read : reads) {
    char buffer[4];
    std::size_t got = 99;
    ASSERT_EQ(fs().ReadAt(in.get(), read.offset, buffer, sizeof buffer, got), 0);
    EXPECT_EQ(std::string(buffer, got), read.expected) << read.offset;
  }

  platform::OwnedFile out(fs());
  ASSERT_EQ(fs().Create(At("cut.bin"), out.get()), 0);
  ASSERT_EQ(fs().CopySettings(in.get(), out.get()), 0);
  ASSERT_EQ(fs().Write(out.get(), "abcdef", 6), 0);
  ASSERT_EQ(fs().Truncate(out.get(), 2), 0);
  ASSERT_EQ(fs().Write(out.get(), "XY", 2), 0);
  ASSERT_EQ(out.Close(), 0);
  EXPECT_EQ(Get("cut.bin"), "abXY");
}

TEST_P(FileSystemContract, ListsAndInspectsFilesByBareNameIgnoringCase) {
  for (const char* name : {"b.wad", "A.wad", "C.wad", "other.txt", "x.wadx", "long name.wad"}) {
    ASSERT_EQ(Put(name, "x"), 0) << name;
  }
  Names names{"stale"};
  std::size_t leftOut = 99;
  ASSERT_EQ(fs().List(Folder(), "*.WAD", names, leftOut), 0);
  EXPECT_EQ(names, (Names{"A.wad", "b.wad", "C.wad", "long name.wad"}));
  EXPECT_EQ(leftOut, 0u);
  ASSERT_EQ(fs().List(Folder(), "?.wad?*", names), 0);
  EXPECT_EQ(names, Names{"x.wadx"});
  ASSERT_EQ(fs().List(Folder(), "*.none", names), 0);
  EXPECT_TRUE(names.empty());

  platform::FileFacts facts;
  ASSERT_EQ(fs().Inspect(At("C.wad"), facts), 0);
  EXPECT_EQ(facts.kind, platform::FileKind::kRegular);
  EXPECT_FALSE(facts.readOnly);
  ASSERT_EQ(fs().NamesLike(At("c.WAD"), names), 0);
  EXPECT_EQ(names, Names{"C.wad"});
}

TEST_P(FileSystemContract, FoldersAreMadeOneLevelAtATimeAndAreNoFiles) {
  if (!GetParam().hasFolders) {
    GTEST_SKIP() << "no folders here";
  }
  ASSERT_EQ(fs().MakeFolder(At("sub")), 0);
  EXPECT_NE(fs().MakeFolder(At("sub")), 0);
  EXPECT_NE(fs().MakeFolder(At("missing\\deeper")), 0);
  platform::FileFacts facts;
  ASSERT_EQ(fs().Inspect(At("sub"), facts), 0);
  EXPECT_EQ(facts.kind, platform::FileKind::kFolder);
  double date = 0;
  EXPECT_EQ(fs().ModificationTime(At("sub"), date), 0);

  platform::File file;
  EXPECT_NE(fs().Delete(At("sub")), 0);
  EXPECT_NE(fs().OpenRead(At("sub"), file), 0);
  EXPECT_NE(fs().Create(At("missing\\x.txt"), file), 0);
  EXPECT_EQ(file.handle, -1);
  Names names{"stale"};
  ASSERT_EQ(Put("sub\\inner.wad", "x"), 0);
  ASSERT_EQ(fs().List(Folder(), "*", names), 0);
  EXPECT_TRUE(names.empty());
  EXPECT_NE(fs().List(At("missing"), "*", names), 0);
  EXPECT_TRUE(names.empty());
}

TEST_P(FileSystemContract, NamesDifferingInLetterCaseAreOneFile) {
  if (!GetParam().ignoresLetterCase) {
    GTEST_SKIP() << "letter case tells names apart here";
  }
  ASSERT_EQ(Put("Level.map", "old"), 0);
  EXPECT_EQ(Get("LEVEL.MAP"), "old");
  ASSERT_EQ(Put("level.MAP", "new"), 0);
  Names names;
  ASSERT_EQ(fs().List(Folder(), "*", names), 0);
  EXPECT_EQ(names, Names{"Level.map"});
  EXPECT_EQ(Get("Level.map"), "new");
  // A rename may change the letter case alone (which name Wine keeps then differs from Windows).
  ASSERT_EQ(fs().Rename(At("level.map"), At("LEVEL.MAP")), 0);
  EXPECT_EQ(Get("LEVEL.MAP"), "new");
  ASSERT_EQ(fs().Delete(At("LEVEL.map")), 0);
  EXPECT_NE(fs().Delete(At("Level.map")), 0);
}

// The current folder as CurrentFolder names it, and as the process's own working folder, where the
// programs it starts begin.
void ExpectCurrent(const std::string& expected) {
  EXPECT_EQ(platform::CurrentFolder(), expected);
  std::string host;
  ASSERT_EQ(platform::HostPath(expected, host), 0) << expected;
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), host)) << host;
}

TEST_P(NativeContract, TheCurrentFolderFollowsTheDiskAndEachDriveKeepsItsOwn) {
  ASSERT_EQ(fs().MakeFolder(At("Mixed Case")), 0);
  ASSERT_EQ(fs().MakeFolder(At("Mixed Case\\Inner")), 0);
  ASSERT_EQ(Put("Mixed Case\\file.txt", "x"), 0);
  ASSERT_EQ(platform::ChangeDrive(Folder()[0]), 0);
  ASSERT_EQ(platform::ChangeFolder(Folder()), 0);
  const std::string home = platform::CurrentFolder();
  const std::string drive = home.substr(0, 2);
  ASSERT_EQ(platform::ChangeFolder("MIXED CASE\\"), 0);
  ExpectCurrent(home + "\\Mixed Case");
  platform::File file;
  ASSERT_EQ(fs().Create("here.txt", file), 0);
  ASSERT_EQ(fs().Close(file), 0);
  EXPECT_EQ(Get("Mixed Case\\here.txt"), "");
  for (const char* path : {"missing", "file.txt", ""}) {
    EXPECT_NE(platform::ChangeFolder(path), 0) << path;
  }
  ASSERT_EQ(platform::ChangeFolder(".."), 0);
  ExpectCurrent(home);
  ASSERT_EQ(platform::ChangeFolder(home.substr(2) + "\\mixed case"), 0);
  ExpectCurrent(home + "\\Mixed Case");
  const std::string other = subject_->OtherDriveRoot();
  if (other.empty()) {
    GTEST_SKIP() << "no second drive";
  }
  const char otherLetter = static_cast<char>(std::toupper(static_cast<unsigned char>(other[0])));
  ASSERT_EQ(platform::ChangeFolder(other), 0);
  ExpectCurrent(home + "\\Mixed Case");
  ASSERT_EQ(platform::ChangeDrive(static_cast<char>(std::tolower(otherLetter))), 0);
  ExpectCurrent(std::string(1, otherLetter) + ":\\");
  // A name relative to a drive that is not current is taken from that drive's own folder.
  ASSERT_EQ(platform::ChangeFolder(drive + "inner"), 0);
  ASSERT_EQ(platform::ChangeDrive(drive[0]), 0);
  ExpectCurrent(home + "\\Mixed Case\\Inner");
  // A drive whose folder has gone is entered at its root.
  ASSERT_EQ(platform::ChangeDrive(otherLetter), 0);
  std::string host;
  ASSERT_EQ(platform::HostPath(home + "\\Mixed Case", host), 0);
  ASSERT_EQ(std::filesystem::remove_all(host), 4u);
  ASSERT_EQ(platform::ChangeDrive(drive[0]), 0);
  ExpectCurrent(drive + "\\");
  EXPECT_NE(platform::ChangeDrive('1'), 0);
}

TEST_P(NativeContract, AFileWrittenNowIsDatedByTheLocalClockInWholeSeconds) {
  const double before = platform::LocalNow();
  ASSERT_EQ(Put("now.txt", "x"), 0);
  double date = 0;
  ASSERT_EQ(fs().ModificationTime(At("now.txt"), date), 0);
  const double after = platform::LocalNow();
  // A second of slack: the file system's clock may lag the system's by a tick.
  EXPECT_GE(date, before - 1 / 86400.0);
  EXPECT_LE(date, after);
  EXPECT_NEAR(date * 86400, std::round(date * 86400), 1e-3);
  EXPECT_NEAR(after * 86400, std::round(after * 86400), 1e-3);
}

// The kit's memory fake, which the tests of other units stand in for a disk.
class InMemory : public FileSystemUnderTest {
 public:
  platform::FileSystem& fs() override { return memory; }
  std::string Folder() const override { return "m:\\contract"; }

  test_support::MemoryFileSystem memory;
};

INSTANTIATE_TEST_SUITE_P(Fakes, FileSystemContract,
                         testing::Values(FileSystemKind{
                             "Memory", [] { return std::make_unique<InMemory>(); }, false, false}),
                         KindName);

}  // namespace

}  // namespace platform_contract
