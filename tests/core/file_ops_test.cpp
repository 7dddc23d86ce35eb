#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/failure.h"
#include "core/file_ops.h"
#include "core/trace.h"
#include "platform/platform.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"

namespace {

namespace fs = std::filesystem;
using test_support::FaultyFileSystem;
using test_support::ReadHostFile;
using test_support::WriteHostFile;

// Each test works in a folder of its own on drive c:. Every routine leaves the trace one frame
// longer and its depth where it was.
class FileOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    host_ = (test_support::DriveC() / name).string();
    fs::create_directories(host_);
    folder_ = "c:\\" + name + "\\";
  }
  void TearDown() override {
    fs::permissions(host_, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(core::Session_TabState, 0);
  }
  std::string Host(const std::string& name) const { return host_ + "/" + name; }
  // The trace lines a call adds.
  template <typename Call>
  std::string TraceOf(Call call) {
    const std::size_t start = core::Session_TraceText.size();
    call();
    return core::Session_TraceText.substr(start);
  }
  static std::size_t Lines(const std::string& trace) {
    return static_cast<std::size_t>(std::count(trace.begin(), trace.end(), '\n'));
  }

  test_support::TemporaryWinePrefix prefix_{"core-tests"};
  std::string host_;
  std::string folder_;
  FaultyFileSystem recorded_{platform::NativeFileSystem(), FaultyFileSystem::FailNone()};
};

TEST_F(FileOpsTest, ExistenceCoversFilesAndFoldersButNotTheEmptyName) {
  WriteHostFile(Host("a.txt"), "x");
  const struct {
    std::string path;
    std::int16_t exists;
  } cases[] = {{folder_ + "A.TXT", -1},
               {folder_, -1},
               {folder_ + "missing.txt", 0},
               {"", 0},
               {"q:\\unmapped.txt", 0}};
  for (const auto& c : cases) {
    const std::string trace =
        TraceOf([&] { EXPECT_EQ(core::DetectIfAFileExistsTrueFalseAbs(c.path), c.exists); });
    EXPECT_NE(trace.find(c.path), std::string::npos) << c.path;
  }
}

TEST_F(FileOpsTest, DeleteRemovesWhatExistsAndNamesWhatItCannotRemove) {
  WriteHostFile(Host("old.txt"), "x");
  EXPECT_EQ(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(folder_ + "old.txt", recorded_),
            -1);
  EXPECT_FALSE(fs::exists(Host("old.txt")));
  // A missing file is success without an attempt.
  EXPECT_EQ(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(folder_ + "none.txt", recorded_),
            -1);
  EXPECT_EQ(std::count(recorded_.calls().begin(), recorded_.calls().end(), "Delete"), 1);

  fs::create_directory(Host("sub"));
  WriteHostFile(Host("ro.txt"), "keep");
  fs::permissions(Host("ro.txt"), fs::perms::owner_read);
  for (const char* name : {"sub", "ro.txt"}) {
    std::int16_t error = 0;
    const std::string trace = TraceOf(
        [&] { error = core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(folder_ + name); });
    EXPECT_GT(error, 0) << name;
    EXPECT_NE(trace.find(folder_ + name), std::string::npos) << trace;
    EXPECT_NE(trace.find(std::to_string(error)), std::string::npos) << trace;
  }
  EXPECT_TRUE(fs::is_directory(Host("sub")));
  EXPECT_EQ(ReadHostFile(Host("ro.txt")), "keep");
}

TEST_F(FileOpsTest, MakingAFolderCreatesOneLowerCasedLevelOnlyWhereNothingIs) {
  EXPECT_EQ(core::MakeDirIfDoesNotExistReturnErrorCodeAbs(folder_ + "Logs\\"), -1);
  EXPECT_TRUE(fs::is_directory(Host("logs")));
  WriteHostFile(Host("plain"), "");
  for (const char* name : {"LOGS", "plain"}) {
    EXPECT_EQ(core::MakeDirIfDoesNotExistReturnErrorCodeAbs(folder_ + name, recorded_), -1);
  }
  EXPECT_EQ(std::count(recorded_.calls().begin(), recorded_.calls().end(), "MakeFolder"), 0);
  EXPECT_FALSE(fs::is_directory(Host("plain")));

  std::int32_t error = 0;
  const std::string trace = TraceOf(
      [&] { error = core::MakeDirIfDoesNotExistReturnErrorCodeAbs(folder_ + "no\\deeper"); });
  EXPECT_GT(error, 0);
  EXPECT_FALSE(fs::exists(Host("no")));
  EXPECT_NE(trace.find(std::to_string(error)), std::string::npos) << trace;
}

TEST_F(FileOpsTest, StringToFileReplacesALongerFileRoundTripsBytesAndReportsItsFailures) {
  WriteHostFile(Host("out.bin"), std::string(1000, 'z'));
  const std::string bytes("a\r\nb\0\xFF\x80", 7);
  EXPECT_EQ(core::StringToFile(bytes, folder_ + "out.bin"), -1);
  EXPECT_EQ(ReadHostFile(Host("out.bin")), bytes);
  EXPECT_EQ(core::StringFromFile(folder_ + "OUT.BIN"), bytes);

  // An empty file reads as empty without the failure line a missing file adds.
  EXPECT_EQ(core::StringToFile("", folder_ + "out.bin"), -1);
  EXPECT_EQ(fs::file_size(Host("out.bin")), 0u);
  const std::string empty =
      TraceOf([&] { EXPECT_EQ(core::StringFromFile(folder_ + "out.bin"), ""); });
  const std::string missing =
      TraceOf([&] { EXPECT_EQ(core::StringFromFile(folder_ + "nix.bin"), ""); });
  EXPECT_EQ(Lines(missing), Lines(empty) + 1);

  // A failing step's error is reported, a read-only file kept, and what was not created not
  // written.
  WriteHostFile(Host("ro.log"), "old");
  fs::permissions(Host("ro.log"), fs::perms::owner_read);
  for (const char* name : {"none\\out.txt", "ro.log"}) {
    std::int32_t error = 0;
    const std::string trace =
        TraceOf([&] { error = core::StringToFile("new", folder_ + name, recorded_); });
    EXPECT_GT(error, 0) << name;
    EXPECT_NE(trace.find(std::to_string(error)), std::string::npos) << trace;
  }
  EXPECT_EQ(ReadHostFile(Host("ro.log")), "old");
  EXPECT_EQ(std::count(recorded_.calls().begin(), recorded_.calls().end(), "Write"), 0);
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
  const std::string trace =
      TraceOf([&] { EXPECT_NO_THROW(content = core::StringFromFile(folder_ + "huge.log")); });
  fs::remove(huge);
  EXPECT_EQ(content, "");
  EXPECT_NE(trace.find(std::to_string(platform::kNotEnoughMemory)), std::string::npos) << trace;
}

TEST_F(FileOpsTest, ChangingFolderDropsTheTrailingBackslashAndFailsLoudly) {
  fs::create_directories(Host("Deep/Er"));
  core::SetCHDriveCHDir(folder_ + "deep\\er\\");
  EXPECT_EQ(core::DetectIfAFileExistsTrueFalseAbs("..\\ER"), -1);
  for (const std::string& path : {folder_ + "missing", std::string("q:\\")}) {
    EXPECT_THROW(core::SetCHDriveCHDir(path), core::SystemFailure) << path;
    // Not trapped: the trace stays one level deeper.
    EXPECT_EQ(core::Session_TabState, 1);
    core::Session_TabState = 0;
  }
}

}  // namespace
