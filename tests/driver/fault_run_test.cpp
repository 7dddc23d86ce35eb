// A whole run of the driver, with the real batch interpreter and converter, on a file system where
// one file operation of the run fails, or where the run stops at one operation (that operation and
// every later one fail, and no batch starts any more), for every operation of the run in turn. A
// second, undisturbed run follows each. Whatever happened, no stamp stands without the HL WAD the
// converter makes of its WAD, a WAD reported as failed is never also reported as converted, a run
// that ends with status 0 has everything converted and its successful.log saved, and the second
// run ends with every WAD converted.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "driver/stamp_record.h"
#include "tests/driver/run_folder.h"
#include "tests/support/faulty_file_system.h"

namespace {

namespace fs = std::filesystem;
using namespace driver_testing;
using test_support::FaultyFileSystem;

// up.wad is up to date, new.wad new, edited.wad changed since its stamp, and old.wad has an HL WAD
// of a pack it replaced.
const std::vector<std::string> kStems = {"edited", "new", "old", "up"};

// Stands in for the batch start: a run stopped before it starts no batch.
bool stopped = false;
platform::Error StartUnlessStopped(const std::string& commandLine, std::int32_t& processId) {
  return stopped ? platform::Error{5} : platform::StartProcess(commandLine, processId);
}

driver::RunResult RunOn(platform::FileSystem& files) {
  return RunKorvane(PressDone, StartUnlessStopped, files);
}

// The folder before a run: written once, then restored for each case with its files' times.
struct Pack {
  std::map<std::string, std::string> files;
  std::map<std::string, fs::file_time_type> times;
  // Each stem's HL WAD as the converter makes it.
  std::map<std::string, std::string> converted;

  void Restore() const {
    fs::remove_all(TextureFolder());
    fs::create_directories(TextureFolder() / "logs");
    for (const auto& [name, content] : files) {
      WriteHostFile(In(name), content);
      fs::last_write_time(In(name), times.at(name));
    }
  }
};

Pack MakePack() {
  EmptyTextureFolder();
  WriteHostFile(In("edited.wad"), QuakeWad(2, 1));
  WriteHostFile(In("up.wad"), QuakeWad(1, 2));
  RunOn(platform::NativeFileSystem());
  Pack pack;
  WriteHostFile(In("edited.wad"), QuakeWad(3, 3));
  WriteHostFile(In("new.wad"), QuakeWad(1, 4));
  WriteHostFile(In("old.wad"), QuakeWad(2, 5));
  WriteHostFile(In("old.hlwad"), QuakeWad(4, 6));
  pack.files = test_support::FolderContents(TextureFolder());
  for (const auto& [name, content] : pack.files) {
    pack.times[name] = fs::last_write_time(In(name));
  }
  pack.Restore();
  RunOn(platform::NativeFileSystem());
  for (const std::string& stem : kStems) {
    pack.converted[stem] = ReadHostFile(In(stem + ".hlwad"));
  }
  return pack;
}

// True when the stem's stamp stands: it matches its WAD and HL WAD as they are now.
bool StampStands(const std::string& stem) {
  platform::FileSystem& files = platform::NativeFileSystem();
  return fs::exists(In("logs/" + stem + ".stmp")) &&
         driver::StampsMatch(driver::ReadStampRecord(files, DriverPath("logs\\" + stem + ".stmp")),
                             driver::CurrentStampRecord(files, DriverPath(stem + ".wad"),
                                                        DriverPath(stem + ".hlwad")));
}

void ExpectTruthfulRun(const Pack& pack, const driver::RunResult& result, bool ranToEnd) {
  bool allConverted = true;
  for (const std::string& stem : kStems) {
    SCOPED_TRACE(stem);
    const std::string hlwad = DriverPath(stem + ".hlwad");
    const bool verified = ReadHostFile(In(stem + ".hlwad")) == pack.converted.at(stem);
    const bool stands = StampStands(stem);
    EXPECT_TRUE(!stands || verified) << result.log;
    const bool failed = Mentions(result.log, kFailed + hlwad + " ");
    if (Mentions(result.log, kConverted + hlwad)) {
      EXPECT_FALSE(failed) << result.log;
      EXPECT_TRUE(stands && verified) << result.log;
    }
    allConverted = allConverted && stands && verified;
  }
  if (ranToEnd) {
    EXPECT_EQ(fs::exists(In("successful.log")), result.failureCount == 0) << result.log;
    EXPECT_TRUE(result.failureCount > 0 || (allConverted && !fs::exists(In("error.log"))))
        << result.log;
    EXPECT_FALSE(fs::exists(In("2hlwad.bat"))) << result.log;
  }
}

TEST(FaultRun, EveryFailingOrStoppingOperationLeavesATruthfulRunAndASecondRunConvertsAll) {
  const Pack pack = MakePack();
  pack.Restore();
  FaultyFileSystem counting(platform::NativeFileSystem(), FaultyFileSystem::FailNone());
  stopped = false;
  ASSERT_EQ(RunOn(counting).failureCount, 0);
  const int operations = static_cast<int>(counting.calls().size());
  ASSERT_GT(operations, 50);

  for (const bool stop : {false, true}) {
    for (int call = 1; call <= operations; ++call) {
      SCOPED_TRACE((stop ? "stopped at operation " : "failed operation ") + std::to_string(call) +
                   " of " + std::to_string(operations) + ": " +
                   counting.calls()[static_cast<std::size_t>(call - 1)]);
      pack.Restore();
      driver::RunResult first;
      {
        FaultyFileSystem faulty(platform::NativeFileSystem(), [call, stop](int n) {
          stopped = stop && n >= call;
          return stop ? n >= call : n == call;
        });
        stopped = false;
        first = RunOn(faulty);
      }
      ExpectTruthfulRun(pack, first, !stop);
      stopped = false;
      const driver::RunResult second = RunOn(platform::NativeFileSystem());
      EXPECT_EQ(second.failureCount, 0) << second.log;
      ExpectTruthfulRun(pack, second, true);
      if (HasFailure()) {
        return;
      }
    }
  }
}

}  // namespace
