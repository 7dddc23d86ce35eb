#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/failure.h"
#include "core/file_ops.h"
#include "core/trace.h"
#include "platform/platform.h"
#include "tests/core/temp_prefix.h"

namespace {

namespace fs = std::filesystem;
using test_support::DriveC;
using test_support::ReadHostFile;
using test_support::WriteHostFile;

// Each test works in a folder of its own on drive c: and reads only the trace it added.
class FileOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    host_ = (DriveC() / name).string();
    fs::create_directories(host_);
    folder_ = "c:\\" + name + "\\";
    core::Session_TabState = 0;
    start_ = core::Session_TraceText.size();
  }
  void TearDown() override {
    fs::permissions(host_, fs::perms::owner_all, fs::perm_options::add);
    core::Session_TabState = 0;
  }
  std::string Added() const { return core::Session_TraceText.substr(start_); }
  std::string Host(const std::string& name) const { return host_ + "/" + name; }

  std::string host_;
  std::string folder_;

 private:
  std::size_t start_ = 0;
};

TEST_F(FileOpsTest, ExistenceCoversFilesAndFoldersButNotTheEmptyName) {
  WriteHostFile(Host("a.txt"), "x");
  EXPECT_EQ(core::DetectIfAFileExistsTrueFalseAbs(folder_ + "A.TXT"), -1);
  EXPECT_EQ(core::DetectIfAFileExistsTrueFalseAbs(folder_), -1);
  EXPECT_EQ(core::DetectIfAFileExistsTrueFalseAbs(folder_ + "missing.txt"), 0);
  EXPECT_EQ(core::DetectIfAFileExistsTrueFalseAbs(""), 0);
  EXPECT_EQ(core::DetectIfAFileExistsTrueFalseAbs("q:\\unmapped.txt"), 0);
}

TEST_F(FileOpsTest, DeletingAnExistingFileTracesFileExistsTwice) {
  WriteHostFile(Host("old.txt"), "x");
  EXPECT_EQ(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(folder_ + "old.txt"), -1);
  EXPECT_FALSE(fs::exists(Host("old.txt")));
  const std::string trace = Added();
  EXPECT_NE(trace.find("\t\tFile exists\r\n\t\t[Exit]\r\n"), std::string::npos);
  EXPECT_NE(trace.find("\tFile exists\r\n\tFile was deleted if it existed\r\n"), std::string::npos);
}

TEST_F(FileOpsTest, DeletingAMissingFileIsSuccessWithoutAnAttempt) {
  EXPECT_EQ(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(folder_ + "none.txt"), -1);
  EXPECT_EQ(Added().find("\tFile exists"), std::string::npos);
}

TEST_F(FileOpsTest, DeletingAFolderOrAReadOnlyFileReturnsTheErrorNumber) {
  fs::create_directory(Host("sub"));
  const std::int16_t folder = core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(folder_ + "sub");
  EXPECT_GT(folder, 0);
  EXPECT_TRUE(fs::is_directory(Host("sub")));
  EXPECT_NE(Added().find("Unable to reset file " + folder_ +
                         "sub.  Error Code:" + std::to_string(folder) + "\r\n"),
            std::string::npos);

  WriteHostFile(Host("ro.txt"), "keep");
  fs::permissions(Host("ro.txt"), fs::perms::owner_read);
  EXPECT_GT(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(folder_ + "ro.txt"), 0);
  EXPECT_EQ(ReadHostFile(Host("ro.txt")), "keep");
}

TEST_F(FileOpsTest, MakingAFolderCreatesOneLowerCasedLevel) {
  EXPECT_EQ(core::MakeDirIfDoesNotExistReturnErrorCodeAbs(folder_ + "Logs\\"), -1);
  EXPECT_TRUE(fs::is_directory(Host("logs")));
  EXPECT_NE(Added().find("\tAbsolutePathToMake =" + folder_ + "Logs\\\r\n"), std::string::npos);
  EXPECT_EQ(core::MakeDirIfDoesNotExistReturnErrorCodeAbs(folder_ + "LOGS"), -1);

  WriteHostFile(Host("plain"), "");
  EXPECT_EQ(core::MakeDirIfDoesNotExistReturnErrorCodeAbs(folder_ + "plain"), -1);
  EXPECT_FALSE(fs::is_directory(Host("plain")));
}

TEST_F(FileOpsTest, MakingAFolderWhoseParentIsMissingFails) {
  const std::int32_t error = core::MakeDirIfDoesNotExistReturnErrorCodeAbs(folder_ + "no\\deeper");
  EXPECT_GT(error, 0);
  EXPECT_FALSE(fs::exists(Host("no")));
  EXPECT_NE(Added().find("Folder could not be created: Error " + std::to_string(error)),
            std::string::npos);
}

TEST_F(FileOpsTest, StringToFileReplacesALongerFileAndRoundTripsBytes) {
  WriteHostFile(Host("out.bin"), std::string(1000, 'z'));
  const std::string bytes("a\r\nb\0\xFF\x80", 7);
  EXPECT_EQ(core::StringToFile(bytes, folder_ + "out.bin"), -1);
  EXPECT_EQ(ReadHostFile(Host("out.bin")), bytes);
  EXPECT_EQ(core::StringFromFile(folder_ + "OUT.BIN"), bytes);

  EXPECT_EQ(core::StringToFile("", folder_ + "out.bin"), -1);
  EXPECT_EQ(fs::file_size(Host("out.bin")), 0u);
  const auto before = Added().size();
  EXPECT_EQ(core::StringFromFile(folder_ + "out.bin"), "");
  EXPECT_EQ(Added().find("Read file failed", before), std::string::npos);
}

TEST_F(FileOpsTest, StringToFileIntoAMissingFolderReportsAfterClosing) {
  const std::int32_t error = core::StringToFile("x", folder_ + "none\\out.txt");
  EXPECT_GT(error, 0);
  EXPECT_NE(
      Added().find("\tOpening file for output\r\n\tClosing output file\r\n\tWrite file failed " +
                   std::to_string(error) + "\r\n"),
      std::string::npos);
}

TEST_F(FileOpsTest, StringToFileKeepsAReadOnlyFile) {
  WriteHostFile(Host("ro.log"), "old");
  fs::permissions(Host("ro.log"), fs::perms::owner_read);
  const std::int32_t error = core::StringToFile("new", folder_ + "ro.log");
  EXPECT_GT(error, 0);
  EXPECT_EQ(ReadHostFile(Host("ro.log")), "old");
  EXPECT_NE(Added().find("Deleting file before write file failed " + std::to_string(error)),
            std::string::npos);
}

TEST_F(FileOpsTest, StringFromAMissingFileIsEmptyWithAFailureLine) {
  EXPECT_EQ(core::StringFromFile(folder_ + "none.txt"), "");
  EXPECT_NE(Added().find("\tRead file failed "), std::string::npos);
}

TEST_F(FileOpsTest, AFileTooLargeForMemoryIsAFailedReadNotAnEscape) {
#ifdef __SANITIZE_ADDRESS__
  // AddressSanitizer ends the process on an allocation it cannot serve instead of throwing.
  GTEST_SKIP() << "AddressSanitizer aborts where the allocation would throw";
#endif
  // A sparse file longer than any string can be. tmpfs takes such a length where disk file
  // systems refuse it; the folder links to it, as a user may link files in.
  const fs::path huge =
      fs::path("/dev/shm") / ("korvane-huge-" + std::to_string(std::random_device()()));
  std::error_code error;
  if (!fs::is_directory(huge.parent_path(), error) || !std::ofstream(huge) ||
      (fs::resize_file(huge, std::uintmax_t{1} << 62, error), error)) {
    fs::remove(huge, error);
    GTEST_SKIP() << "no file system here takes a file of 2^62 bytes";
  }
  fs::create_symlink(huge, Host("huge.log"));
  std::string content = "unset";
  EXPECT_NO_THROW(content = core::StringFromFile(folder_ + "huge.log"));
  fs::remove(huge);
  EXPECT_EQ(content, "");
  EXPECT_NE(Added().find("\tRead file failed " + std::to_string(platform::kNotEnoughMemory) +
                         "\r\n\t[Exit]\r\n"),
            std::string::npos)
      << Added();
  EXPECT_EQ(core::Session_TabState, 0);
}

TEST_F(FileOpsTest, ChangingFolderDropsTheTrailingBackslashAndFailsLoudly) {
  fs::create_directories(Host("Deep/Er"));
  core::SetCHDriveCHDir(folder_ + "deep\\er\\");
  EXPECT_EQ(core::Session_TabState, 0);
  EXPECT_EQ(core::DetectIfAFileExistsTrueFalseAbs("..\\ER"), -1);

  EXPECT_THROW(core::SetCHDriveCHDir(folder_ + "missing"), core::SystemFailure);
  EXPECT_EQ(core::Session_TabState, 1);
  EXPECT_THROW(core::SetCHDriveCHDir("q:\\"), core::SystemFailure);
}

}  // namespace
