// Whole runs of the driver on the memory window, with the real batch interpreter and the real
// converter (or a stand-in converter in the texture folder), in a temporary WINEPREFIX: its
// decisions, verdicts, messages and stamps.

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "core/failure.h"
#include "core/text_box.h"
#include "driver/examination.h"
#include "driver/run_paths.h"
#include "driver/stamp_record.h"
#include "platform/common/ascii.h"
#include "platform/platform.h"
#include "tests/driver/run_folder.h"
#include "tests/support/environment.h"

namespace {

namespace fs = std::filesystem;
using namespace driver_testing;

// The examination's line for the WAD `name`.
std::string Decision(const std::string& name, const std::string& verdict) {
  return core::FixedWidth(DriverPath(name), 40) + ": " + verdict;
}

bool Mentions(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// True when `later` follows `first` in `text`.
bool InOrder(const std::string& text, const std::string& first, const std::string& later) {
  const std::size_t at = text.find(first);
  return at != std::string::npos && text.find(later, at + first.size()) != std::string::npos;
}

class ConversionRun : public ::testing::Test {
 protected:
  void SetUp() override { EmptyTextureFolder(); }
};

TEST_F(ConversionRun, EachRunConvertsWhatIsNewAndAnUpToDateRunShowsNoWindow) {
  const RunOutcome empty = RunKorvane();
  EXPECT_EQ(ReadHostFile(In("successful.log")), driver::kNothingToConvert);
  EXPECT_TRUE(fs::is_directory(In("logs")));
  EXPECT_FALSE(empty.everShown);

  WriteHostFile(In("Base.wad"), QuakeWad(2));
  ASSERT_EQ(RunKorvane().failureCount, 0);
  WriteHostFile(In("Castle.wad"), QuakeWad(3, 5));
  const RunOutcome run = RunKorvane();

  EXPECT_EQ(run.failureCount, 0) << run.log;
  EXPECT_TRUE(InOrder(run.log, Decision("Base.wad", "Ok"), Decision("Castle.wad", "Convert")))
      << run.log;
  EXPECT_TRUE(Mentions(run.log, kConverted + DriverPath("castle.hlwad")));
  EXPECT_FALSE(Mentions(run.log, "base.hlwad"));
  // The window's log is the saved run log and the line that says where it went.
  EXPECT_TRUE(run.log.starts_with(ReadHostFile(In("successful.log")) + "\r\n")) << run.log;
  EXPECT_TRUE(run.log.ends_with(driver::kSuccessRunLog));
  EXPECT_TRUE(run.everShown);
  EXPECT_FALSE(run.command1Visible);
  EXPECT_EQ(run.batchStarts, 1);
  EXPECT_FALSE(fs::exists(In("error.log")));
  EXPECT_FALSE(fs::exists(In("2hlwad.bat")));
  EXPECT_FALSE(fs::exists(In("logs/castle.log")));
  EXPECT_EQ(ReadHostFile(In("Castle.hlwad")).substr(0, 4), "WAD3");
  EXPECT_EQ(fs::file_size(In("logs/castle.stmp")), driver::kStampRecordSize);

  WriteHostFile(In("error.log"), "old");
  const RunOutcome upToDate = RunKorvane();
  EXPECT_EQ(ReadHostFile(In("successful.log")), driver::kNothingToConvert);
  EXPECT_FALSE(fs::exists(In("error.log")));
  EXPECT_FALSE(upToDate.everShown);
  EXPECT_EQ(upToDate.batchStarts, 0);
}

TEST_F(ConversionRun, ChangedFilesDamagedStampsAndEmptyFilesAreConvertedAgain) {
  const std::vector<std::string> stems = {"empty", "replaced", "shortstamp", "steady", "touched"};
  for (const std::string& stem : stems) {
    WriteHostFile(In(stem + ".wad"), QuakeWad(1));
  }
  ASSERT_EQ(RunKorvane().failureCount, 0);
  ShiftModificationTime(In("touched.wad"), -60);
  WriteHostFile(In("replaced.hlwad"), ReadHostFile(In("replaced.hlwad")) + "x");
  fs::resize_file(In("logs/shortstamp.stmp"), driver::kStampRecordSize - 4);
  // Empty files with a stamp that matches them.
  WriteHostFile(In("empty.wad"), "");
  WriteHostFile(In("empty.hlwad"), "");
  platform::FileSystem& files = platform::NativeFileSystem();
  ASSERT_EQ(driver::WriteStampRecord(files, DriverPath("logs\\empty.stmp"),
                                     driver::CurrentStampRecord(files, DriverPath("empty.wad"),
                                                                DriverPath("empty.hlwad"))),
            0);

  const RunOutcome run = RunKorvane();

  for (const std::string& stem : stems) {
    EXPECT_TRUE(Mentions(run.log, Decision(stem + ".wad", stem == "steady" ? "Ok" : "Convert")))
        << stem << "\n"
        << run.log;
  }
  EXPECT_EQ(fs::file_size(In("logs/shortstamp.stmp")), driver::kStampRecordSize);
  // The converter fails the empty WAD, which keeps neither stamp nor HL WAD.
  EXPECT_EQ(run.failureCount, 1);
  EXPECT_TRUE(Mentions(run.log, kFailed + DriverPath("empty.hlwad")));
  EXPECT_FALSE(fs::exists(In("logs/empty.stmp")));
  EXPECT_FALSE(fs::exists(In("empty.hlwad")));
}

// One converter run that errs, cuts an HL WAD short, writes nothing or leaves an older HL WAD
// standing, beside conversions that must pass: only the converter's error marker in capitals is an
// error, and an HL WAD counts only when this run's converter wrote it, even in the same second as
// an older one.
TEST_F(ConversionRun, EachWadIsJudgedByWhatThisRunsConverterWroteAndSaid) {
  for (const std::string stem : {"Bad", "fresh", "good", "quiet", "short", "silent", "stale"}) {
    WriteHostFile(In(stem + ".wad"), QuakeWad(2));
  }
  WriteHostFile(In("stale.hlwad"), QuakeWad(3) + "older and larger");
  ShiftModificationTime(In("stale.hlwad"), -120);
  WriteHostFile(In("fresh.hlwad"), QuakeWad(3) + "written this very second");
  DropStandInConverter(R"(stem="${2%.*}"
case "$2" in
  Bad.wad) cat "$2" "$2" > "$stem.hlwad"; printf 'reading Bad.wad\r\n** ERROR ** bad lump\r\n' ;;
  good.wad) cat "$2" "$2" > "$stem.hlwad"; echo "** error ** is fine" ;;
  short.wad) head -c 100 "$2" > "$stem.hlwad"; echo "wrote $stem.hlwad" ;;
  quiet.wad|fresh.wad) cat "$2" > "$stem.hlwad" ;;
  stale.wad) echo done ;;
esac)");

  const RunOutcome run = RunKorvane();

  // Each failure names its HL WAD, then its cause or the converter's words.
  const std::string cutShort = DriverPath("short.hlwad") + " is cut short: it holds 100 bytes";
  const std::pair<std::string, std::vector<std::string>> failures[] = {
      {"Bad", {"\r\nreading Bad.wad\r\n** ERROR ** bad lump\r\n"}},
      {"short",
       {cutShort, std::to_string(QuakeWad(2).size()) + " bytes", "\r\nwrote short.hlwad\n"}},
      {"silent", {"No log exists."}},
      {"stale", {"\r\ndone\n"}},
  };
  EXPECT_EQ(run.failureCount, 4) << run.log;
  for (const auto& [stem, said] : failures) {
    // The driver spells the files it makes in lower case.
    const std::string lower = platform::ascii::Lowered(stem);
    std::size_t at = run.log.find(kFailed + DriverPath(lower + ".hlwad"));
    for (const std::string& part : said) {
      at = run.log.find(part, at);
      EXPECT_NE(at, std::string::npos) << stem << ": " << part << "\n" << run.log;
    }
    EXPECT_FALSE(fs::exists(In(stem + ".hlwad"))) << stem;
    EXPECT_FALSE(fs::exists(In("logs/" + lower + ".stmp"))) << stem;
  }
  for (const std::string stem : {"fresh", "good", "quiet"}) {
    EXPECT_TRUE(Mentions(run.log, kConverted + DriverPath(stem + ".hlwad"))) << stem;
    EXPECT_TRUE(fs::exists(In("logs/" + stem + ".stmp"))) << stem;
  }
  EXPECT_EQ(ReadHostFile(In("fresh.hlwad")), ReadHostFile(In("fresh.wad")));
  EXPECT_TRUE(fs::exists(In("logs/bad.log")));
  // One banner for all the failures; the window's log is the saved error.log and where it went.
  const std::string banner = driver::kRuleLine + std::string("\r\n=");
  EXPECT_EQ(run.log.find(banner), run.log.rfind(banner));
  EXPECT_TRUE(run.log.starts_with(ReadHostFile(In("error.log")) + "\r\n")) << run.log;
  EXPECT_TRUE(run.log.ends_with(driver::kErrorRunLog));
  EXPECT_FALSE(fs::exists(In("successful.log")));
  EXPECT_TRUE(run.label2Visible);
  EXPECT_TRUE(run.command1Visible);
  EXPECT_TRUE(window::DonePressed);
}

TEST_F(ConversionRun, UnsafeNamesConvertAndStayUpToDate) {
  for (const char* name : {"my tex.wad", "Fire&Ice.wad", "100%.wad", "MiXeD.WAD"}) {
    WriteHostFile(In(name), QuakeWad(1));
  }
  WriteHostFile(In(".hidden.wad"), QuakeWad(1));
  test_support::MarkHidden(In(".hidden.wad"));
  WriteHostFile(In("old.hlwad"), QuakeWad(1));

  const RunOutcome run = RunKorvane();

  EXPECT_EQ(run.failureCount, 0) << run.log;
  for (const char* stem : {"my tex", "fire&ice", "100%", "mixed"}) {
    EXPECT_TRUE(Mentions(run.log, kConverted + DriverPath(stem + std::string(".hlwad")))) << stem;
    EXPECT_TRUE(fs::exists(In("logs/" + std::string(stem) + ".stmp"))) << stem;
  }
  EXPECT_FALSE(Mentions(run.log, "hidden"));
  EXPECT_EQ(RunKorvane().batchStarts, 0);
}

// A batch start that lets the batch finish, then saves a.wad again, as a user still editing the
// pack would, before the driver collects the results.
platform::Error StartThenEditAWad(const std::string& commandLine, std::int32_t& processId) {
  const platform::Error error = platform::StartProcess(commandLine, processId);
  while (error == 0 && platform::ProcessIsRunning(processId)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  WriteHostFile(In("a.wad"), QuakeWad(2, 9));
  return error;
}

const std::string kSecondRun = "second run";

// What a run that counts 2 files left out for their names says about them.
std::string LeftOutLine() {
  driver::RunState state(platform::NativeFileSystem());
  state.leftOut = 2;
  return driver::UpToDateText(state).substr(std::string(driver::kNothingToConvert).size() + 2);
}

struct VerdictCase {
  const char* name;
  void (*arrange)();
  driver::StartFunction start;
  std::int32_t failures;
  // Each stands in the run log, in this order; kSecondRun starts what a second, undisturbed run
  // says.
  std::vector<std::string> parts;
  void (*check)();
};

// What the user reads when a WAD or the run fails for a cause outside the converter, and that a
// conversion the size rule must not fail passes.
TEST_F(ConversionRun, EveryVerdictNamesItsCause) {
  const std::string a = DriverPath("a.hlwad");
  const VerdictCase cases[] = {
      {"a WAD saved again while the batch runs",
       [] { WriteHostFile(In("a.wad"), QuakeWad(1)); },
       StartThenEditAWad,
       1,
       {kFailed + a, DriverPath("a.wad") + " changed during the conversion", kSecondRun,
        kConverted + a},
       [] {}},
      {"an old HL WAD that cannot be deleted",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         WriteHostFile(In("a.hlwad"), "old");
         fs::permissions(In("a.hlwad"), fs::perms::owner_read);
       },
       platform::StartProcess,
       1,
       {kFailed + a, a + " cannot be deleted: Permission denied."},
       [] {
         EXPECT_EQ(ReadHostFile(In("a.hlwad")), "old");
         EXPECT_FALSE(fs::exists(In("logs/a.stmp")));
       }},
      {"two WADs whose names differ only in letter case",
       [] {
         WriteHostFile(In("Base.wad"), QuakeWad(1));
         WriteHostFile(In("base.WAD"), QuakeWad(2));
       },
       platform::StartProcess,
       1,
       {kConverted + DriverPath("base.hlwad"), kFailed + DriverPath("base.hlwad"),
        "base.WAD shares its HL WAD name with Base.wad", kSecondRun, Decision("Base.wad", "Ok"),
        "base.WAD shares its HL WAD name with Base.wad"},
       [] {
         EXPECT_TRUE(fs::exists(In("Base.hlwad")));
         EXPECT_TRUE(fs::exists(In("logs/base.stmp")));
       }},
      {"a file where the logs folder should be",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         WriteHostFile(In("a.hlwad"), "old");
         WriteHostFile(In("logs"), "a file");
       },
       platform::StartProcess,
       2,
       {DriverPath("logs") + ": Not a directory.", kFailed + a, "Not converted"},
       [] { EXPECT_EQ(ReadHostFile(In("a.hlwad")), "old"); }},
      {"a folder where the batch should be",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         fs::create_directories(In("2hlwad.bat"));
       },
       platform::StartProcess,
       2,
       {DriverPath("2hlwad.bat") + ": Is a directory.", kFailed + a, "Not converted"},
       [] {}},
      {"a previous run log that cannot be deleted",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         fs::create_directories(In("successful.log"));
       },
       platform::StartProcess,
       1,
       {driver::kSuccessRunLog + std::string(": Is a directory."), kConverted + a,
        driver::kErrorRunLog},
       [] { EXPECT_TRUE(fs::exists(In("error.log"))); }},
      {"a hard link where the batch is written",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         WriteHostFile(TextureFolder().parent_path() / "elsewhere.txt", "keep");
         fs::create_hard_link(TextureFolder().parent_path() / "elsewhere.txt", In("2hlwad.bat"));
       },
       platform::StartProcess,
       0,
       {kConverted + a},
       [] {
         EXPECT_EQ(ReadHostFile(TextureFolder().parent_path() / "elsewhere.txt"), "keep");
         fs::remove(TextureFolder().parent_path() / "elsewhere.txt");
       }},
      {"a WAD whose HL WAD is smaller for the lumps that are not textures",
       [] { WriteHostFile(In("a.wad"), QuakeWad(1, 0, 20000)); },
       platform::StartProcess,
       0,
       {kConverted + a},
       [] {
         EXPECT_LT(fs::file_size(In("a.hlwad")), fs::file_size(In("a.wad")));
         EXPECT_EQ(RunKorvane().batchStarts, 0);
       }},
      {"names Windows cannot hold, counted also where everything is up to date",
       [] {
         for (const char* name : {"a.wad", "a:b.wad", "tab\t.wad"}) {
           WriteHostFile(In(name), QuakeWad(1));
         }
       },
       platform::StartProcess,
       0,
       {LeftOutLine(), kConverted + a, kSecondRun, LeftOutLine()},
       [] {
         driver::RunState state(platform::NativeFileSystem());
         state.leftOut = 2;
         EXPECT_EQ(ReadHostFile(In("successful.log")), driver::UpToDateText(state));
       }},
  };
  for (const VerdictCase& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyTextureFolder();
    c.arrange();
    const RunOutcome first = RunKorvane(PressDone, c.start);
    EXPECT_EQ(first.failureCount, c.failures) << first.log;
    EXPECT_EQ(fs::is_regular_file(In("successful.log")), c.failures == 0);
    std::string log = first.log;
    std::size_t at = 0;
    for (const std::string& part : c.parts) {
      if (part == kSecondRun) {
        log = RunKorvane().log;
        at = 0;
        continue;
      }
      at = log.find(part, at);
      EXPECT_NE(at, std::string::npos) << part << "\n---\n" << log;
    }
    c.check();
  }
}

TEST_F(ConversionRun, MissingTextureFolderStopsBeforeTheWindow) {
  fs::remove_all(DriveC() / "program files");
  window::MemoryWindow window;
  EXPECT_THROW(driver::ConversionDriver(window), core::SystemFailure);
  EXPECT_FALSE(window.Loaded());
  EXPECT_FALSE(fs::exists(DriveC() / "program files"));
}

TEST_F(ConversionRun, ProgressDotsAppearAtMostOncePerSecond) {
  WriteHostFile(In("slow.wad"), QuakeWad(1));
  DropStandInConverter(R"(sleep 2.5; cat "$2" > "${2%.*}.hlwad")");

  const RunOutcome run = RunKorvane();

  // The line opens with four dots, gains three each second and closes with the completion.
  std::smatch match;
  ASSERT_TRUE(std::regex_search(run.log, match,
                                std::regex(R"( \.\.\.\.((\.\.\.)*)\.\.\. COMPLETE: 00:(\d\d))")))
      << run.log;
  const auto ticks = match[1].length() / 3;
  const int elapsed = std::stoi(match[3]);
  EXPECT_GE(ticks, 2);
  EXPECT_LE(ticks, elapsed);
  EXPECT_GE(elapsed, 2);
}

TEST_F(ConversionRun, ClosingTheWindowStopsTheConverterAndEndsWithoutDone) {
  WriteHostFile(In("a_quick.wad"), QuakeWad(1));
  WriteHostFile(In("b_slow.wad"), QuakeWad(1));
  WriteHostFile(In("b_slow.hlwad"), QuakeWad(1) + "from an earlier run");
  ShiftModificationTime(In("b_slow.hlwad"), -120);
  DropStandInConverter(
      R"(case "$2" in b_slow.wad) echo part > b_slow.hlwad.tmp; echo started; sleep 60 ;; esac; )"
      R"(cat "$2" > "${2%.*}.hlwad")");
  const auto begin = std::chrono::steady_clock::now();
  std::string reason;

  const RunOutcome run = RunKorvane([&reason](window::MemoryWindow& w) {
    if (fs::exists(In("a_quick.hlwad")) && !w.Closed()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      w.CloseByFrame();
      reason = driver::StopReason(w);
    }
  });

  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(30));
  EXPECT_TRUE(run.stopped);
  EXPECT_FALSE(window::DonePressed);
  const std::string errorLog = ReadHostFile(In("error.log"));
  EXPECT_TRUE(Mentions(errorLog, kConverted + DriverPath("a_quick.hlwad"))) << errorLog;
  ASSERT_FALSE(reason.empty());
  EXPECT_TRUE(Mentions(errorLog, reason + ".\r\n"));
  // The stop is the cause of the slow WAD's failure, and what its converter said is kept.
  EXPECT_TRUE(InOrder(errorLog, kFailed + DriverPath("b_slow.hlwad"), "stopped"));
  EXPECT_TRUE(InOrder(errorLog, kFailed + DriverPath("b_slow.hlwad"), "\r\nstarted\n"));
  EXPECT_FALSE(fs::exists(In("b_slow.hlwad")));
  EXPECT_FALSE(fs::exists(In("b_slow.hlwad.tmp")));
  EXPECT_TRUE(run.command1Visible);
}

}  // namespace
