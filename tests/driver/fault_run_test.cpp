// Every file operation of a run in turn fails, or stops the run (it and all later ones fail, no
// batch starts), and an undisturbed run follows. No stamp may stand without its converted HL WAD,
// no WAD be both failed and converted, a run without failures must have converted all, and the
// undisturbed run must convert every WAD.

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

bool stopped = false;
platform::Error StartUnlessStopped(const std::string& commandLine, std::int32_t& processId) {
  return stopped ? platform::Error{5} : platform::StartProcess(commandLine, processId);
}

driver::RunResult RunOn(platform::FileSystem& files) {
  return RunKorvane(PressDone, StartUnlessStopped, files);
}

// The folder before a run with its files' times, and each stem's HL WAD as the converter makes it.
struct Pack {
  std::map<std::string, std::string> files;
  std::map<std::string, fs::file_time_type> times;
  std::map<std::string, std::string> converted;
  void Restore() const {
    fs::remove_all(TextureFolder());
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
  WriteHostFile(In("edited.wad"), QuakeWad(3, 3));
  WriteHostFile(In("new.wad"), QuakeWad(1, 4));
  WriteHostFile(In("old.wad"), QuakeWad(2, 5));
  WriteHostFile(In("old.hlwad"), QuakeWad(4, 6));
  Pack pack;
  pack.files = test_support::FolderContents(TextureFolder());
  for (const auto& [name, content] : pack.files) {
    pack.times[name] = fs::last_write_time(In(name));
  }
  RunOn(platform::NativeFileSystem());
  for (const std::string& stem : kStems) {
    pack.converted[stem] = ReadHostFile(In(stem + ".hlwad"));
  }
  return pack;
}

void ExpectTruthfulRun(const Pack& pack, const driver::RunResult& result, bool ranToEnd) {
  platform::FileSystem& files = platform::NativeFileSystem();
  bool allConverted = true;
  for (const std::string& stem : kStems) {
    SCOPED_TRACE(stem);
    const std::string hlwad = DriverPath(stem + ".hlwad");
    const bool verified = ReadHostFile(In(stem + ".hlwad")) == pack.converted.at(stem);
    const bool stands =
        fs::exists(In("logs/" + stem + ".stmp")) &&
        driver::StampsMatch(driver::ReadStampRecord(files, DriverPath("logs\\" + stem + ".stmp")),
                            driver::CurrentStampRecord(files, DriverPath(stem + ".wad"), hlwad));
    EXPECT_TRUE(!stands || verified) << result.log;
    if (Mentions(result.log, kConverted + hlwad)) {
      EXPECT_FALSE(Mentions(result.log, kFailed + hlwad + " ")) << result.log;
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
  ASSERT_EQ(RunOn(counting).failureCount, 0);
  const std::vector<std::string> operations = counting.calls();
  ASSERT_GT(operations.size(), 50u);
  for (const bool stop : {false, true}) {
    for (int call = 1; call <= static_cast<int>(operations.size()); ++call) {
      SCOPED_TRACE((stop ? "stopped at operation " : "failed operation ") + std::to_string(call) +
                   ": " + operations[static_cast<std::size_t>(call - 1)]);
      pack.Restore();
      driver::RunResult first;
      {
        FaultyFileSystem faulty(platform::NativeFileSystem(), [call, stop](int n) {
          stopped = stop && n >= call;
          return stop ? n >= call : n == call;
        });
        first = RunOn(faulty);
      }
      stopped = false;
      ExpectTruthfulRun(pack, first, !stop);
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
