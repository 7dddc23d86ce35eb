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

// The first of `parts` that does not stand in `text` after the ones before it; empty when all do.
std::string MissingInOrder(const std::string& text, const std::vector<std::string>& parts) {
  std::size_t at = 0;
  for (const std::string& part : parts) {
    at = text.find(part, at);
    if (at == std::string::npos) {
      return part;
    }
  }
  return {};
}

class ConversionRun : public ::testing::Test {
 protected:
  void SetUp() override { EmptyTextureFolder(); }
};

// A folder through four runs: empty; WADs named with what a command interpreter reads as syntax,
// and a hidden one; nothing to do; files changed behind their stamps' backs and a new WAD.
TEST_F(ConversionRun, EachRunConvertsWhatChangedSinceItsStampAndAnUpToDateRunShowsNoWindow) {
  const RunOutcome empty = RunKorvane();
  EXPECT_EQ(ReadHostFile(In("successful.log")), driver::kNothingToConvert);
  EXPECT_TRUE(fs::is_directory(In("logs")));
  EXPECT_FALSE(empty.everShown);

  // Each WAD, and the stem of the files the driver makes for it.
  const std::pair<std::string, std::string> wads[] = {
      {"my tex.wad", "my tex"}, {"Fire&Ice.wad", "fire&ice"}, {"100%.wad", "100%"},
      {"MiXeD.WAD", "mixed"},   {"steady.wad", "steady"},
  };
  for (const auto& [wad, stem] : wads) {
    WriteHostFile(In(wad), QuakeWad(1));
  }
  WriteHostFile(In(".hidden.wad"), QuakeWad(1));
  test_support::MarkHidden(In(".hidden.wad"));
  const RunOutcome run = RunKorvane();

  EXPECT_EQ(run.failureCount, 0) << run.log;
  for (const auto& [wad, stem] : wads) {
    EXPECT_TRUE(Mentions(run.log, kConverted + DriverPath(stem + ".hlwad"))) << wad;
    EXPECT_TRUE(fs::exists(In("logs/" + stem + ".stmp"))) << wad;
    EXPECT_FALSE(fs::exists(In("logs/" + stem + ".log"))) << wad;
  }
  EXPECT_FALSE(Mentions(run.log, "hidden"));
  EXPECT_EQ(ReadHostFile(In("steady.hlwad")).substr(0, 4), "WAD3");
  // The window's log is the saved run log and the line that says where it went.
  EXPECT_TRUE(run.log.starts_with(ReadHostFile(In("successful.log")) + "\r\n")) << run.log;
  EXPECT_TRUE(run.log.ends_with(driver::kSuccessRunLog));
  EXPECT_TRUE(run.everShown);
  EXPECT_FALSE(run.command1Visible);
  EXPECT_EQ(run.batchStarts, 1);

  WriteHostFile(In("error.log"), "old");
  const RunOutcome upToDate = RunKorvane();
  EXPECT_EQ(ReadHostFile(In("successful.log")), driver::kNothingToConvert);
  EXPECT_FALSE(fs::exists(In("error.log")));
  EXPECT_FALSE(upToDate.everShown);
  EXPECT_EQ(upToDate.batchStarts, 0);

  ShiftModificationTime(In("my tex.wad"), -60);
  WriteHostFile(In("Fire&Ice.hlwad"), ReadHostFile(In("Fire&Ice.hlwad")) + "x");
  fs::resize_file(In("logs/100%.stmp"), driver::kStampRecordSize - 4);
  // Empty files under a stamp that matches them.
  WriteHostFile(In("MiXeD.WAD"), "");
  WriteHostFile(In("MiXeD.hlwad"), "");
  platform::FileSystem& files = platform::NativeFileSystem();
  ASSERT_EQ(driver::WriteStampRecord(files, DriverPath("logs\\mixed.stmp"),
                                     driver::CurrentStampRecord(files, DriverPath("MiXeD.WAD"),
                                                                DriverPath("mixed.hlwad"))),
            0);
  WriteHostFile(In("Castle.wad"), QuakeWad(3, 5));
  const RunOutcome changed = RunKorvane();

  for (const auto& [wad, stem] : wads) {
    EXPECT_TRUE(Mentions(changed.log, Decision(wad, stem == "steady" ? "Ok" : "Convert")))
        << wad << "\n"
        << changed.log;
  }
  EXPECT_TRUE(Mentions(changed.log, kConverted + DriverPath("castle.hlwad")));
  EXPECT_EQ(fs::file_size(In("logs/100%.stmp")), driver::kStampRecordSize);
  // The converter fails the empty WAD, which keeps neither stamp nor HL WAD.
  EXPECT_EQ(changed.failureCount, 1);
  EXPECT_TRUE(Mentions(changed.log, kFailed + DriverPath("mixed.hlwad")));
  EXPECT_FALSE(fs::exists(In("logs/mixed.stmp")));
  EXPECT_FALSE(fs::exists(In("MiXeD.hlwad")));
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
    std::vector<std::string> parts = {kFailed + DriverPath(lower + ".hlwad")};
    parts.insert(parts.end(), said.begin(), said.end());
    EXPECT_EQ(MissingInOrder(run.log, parts), "") << run.log;
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

// A batch start that lets the batch finish, then saves a.wad again, as a user still editing the
// pack would, before the driver collects the results.
platform::Error StartThenEditAWad(const std::string& commandLine, std::int32_t& processId) {
  const platform::Error error = platform::StartProcess(commandLine, processId);
  while (error == 0 && platform::ProcessIsRunning(processId)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // Other pixels, the same length, a later time: only the time tells.
  WriteHostFile(In("a.wad"), QuakeWad(1, 9));
  ShiftModificationTime(In("a.wad"), 5);
  return error;
}

// What a run that finds nothing to convert saves when the listing left out 2 files for their names.
std::string UpToDateWithTwoLeftOut() {
  driver::RunState state(platform::NativeFileSystem());
  state.leftOut = 2;
  return driver::UpToDateText(state);
}

const std::string kSecondRun = "second run";

struct VerdictCase {
  const char* name;
  std::int32_t failures;
  // Written before the run.
  Files files;
  // Each stands in the run log after the one before; kSecondRun starts what a second, undisturbed
  // run says.
  std::vector<std::string> parts;
  // What files hold after the runs.
  Files after = {};
  // Anything else before the run.
  void (*arrange)() = nullptr;
  driver::StartFunction start = platform::StartProcess;
};

// What the user reads when a WAD or the run fails for a cause outside the converter, and that a
// conversion the size rule must not fail passes.
TEST_F(ConversionRun, EveryVerdictNamesItsCause) {
  const std::string a = DriverPath("a.hlwad");
  const std::string wad = QuakeWad(1);
  const std::string leftOut =
      UpToDateWithTwoLeftOut().substr(UpToDateWithTwoLeftOut().find('\n') + 1);
  const VerdictCase cases[] = {
      {"a WAD saved again while the batch runs",
       1,
       {{"a.wad", wad}},
       {kFailed + a, DriverPath("a.wad") + " changed during the conversion", kSecondRun,
        kConverted + a},
       {},
       nullptr,
       StartThenEditAWad},
      {"an old HL WAD that cannot be deleted",
       1,
       {{"a.wad", wad}, {"a.hlwad", "old"}},
       {kFailed + a, a + " cannot be deleted: Permission denied."},
       {{"a.hlwad", "old"}, {"logs/a.stmp", kAbsent}},
       [] { fs::permissions(In("a.hlwad"), fs::perms::owner_read); }},
      {"two WADs whose names differ only in letter case",
       1,
       {{"Base.wad", wad}, {"base.WAD", QuakeWad(2)}},
       {kConverted + DriverPath("base.hlwad"), kFailed + DriverPath("base.hlwad"),
        "base.WAD shares its HL WAD name with Base.wad", kSecondRun, Decision("Base.wad", "Ok"),
        "base.WAD shares its HL WAD name with Base.wad"}},
      {"a file where the logs folder should be",
       2,
       {{"a.wad", wad}, {"a.hlwad", "old"}, {"logs", "a file"}},
       {DriverPath("logs") + ": Not a directory.", kFailed + a, "Not converted"},
       {{"a.hlwad", "old"}}},
      {"a folder where the batch should be",
       2,
       {{"a.wad", wad}, {"2hlwad.bat", kAFolder}},
       {DriverPath("2hlwad.bat") + ": Is a directory.", kFailed + a, "Not converted"}},
      {"a previous run log that cannot be deleted",
       1,
       {{"a.wad", wad}, {"successful.log", kAFolder}},
       {driver::kSuccessRunLog + std::string(": Is a directory."), kConverted + a,
        driver::kErrorRunLog}},
      {"a hard link where the batch is written",
       0,
       {{"a.wad", wad}, {"../elsewhere.txt", "keep"}},
       {kConverted + a},
       {{"../elsewhere.txt", "keep"}},
       [] { fs::create_hard_link(In("../elsewhere.txt"), In("2hlwad.bat")); }},
      {"a WAD whose HL WAD is smaller for a picture lump that is no texture",
       0,
       {{"a.wad", QuakeWad(1, 0, 20000)}},
       {kConverted + a, kSecondRun, driver::kNothingToConvert}},
      {"names Windows cannot hold, counted also when everything is up to date",
       0,
       {{"a.wad", wad}, {"a:b.wad", wad}, {"tab\t.wad", wad}},
       {leftOut, kConverted + a, kSecondRun, UpToDateWithTwoLeftOut()},
       {{"successful.log", UpToDateWithTwoLeftOut()}}},
  };
  for (const VerdictCase& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyTextureFolder();
    WriteFiles(c.files);
    if (c.arrange != nullptr) {
      c.arrange();
    }
    const RunOutcome first = RunKorvane(PressDone, c.start);
    EXPECT_EQ(first.failureCount, c.failures) << first.log;
    EXPECT_EQ(fs::is_regular_file(In("successful.log")), c.failures == 0);
    const auto second = std::find(c.parts.begin(), c.parts.end(), kSecondRun);
    EXPECT_EQ(MissingInOrder(first.log, {c.parts.begin(), second}), "") << first.log;
    if (second != c.parts.end()) {
      const std::string log = RunKorvane().log;
      EXPECT_EQ(MissingInOrder(log, {second + 1, c.parts.end()}), "") << log;
    }
    ExpectFiles(c.after);
  }
}

TEST_F(ConversionRun, MissingTextureFolderStopsBeforeTheWindow) {
  fs::remove_all(DriveC() / "program files");
  window::MemoryWindow window;
  EXPECT_THROW(driver::ConversionDriver(window), core::SystemFailure);
  EXPECT_FALSE(window.Loaded());
  EXPECT_FALSE(fs::exists(DriveC() / "program files"));
}

// The first WAD takes 2.5 s; once it is converted the user closes the window while the second one
// still converts.
TEST_F(ConversionRun, ClosingTheWindowStopsTheConverterAndEndsWithoutDone) {
  WriteHostFile(In("a_quick.wad"), QuakeWad(1));
  WriteHostFile(In("b_slow.wad"), QuakeWad(1));
  WriteHostFile(In("b_slow.hlwad"), QuakeWad(1) + "from an earlier run");
  ShiftModificationTime(In("b_slow.hlwad"), -120);
  DropStandInConverter(
      R"(case "$2" in b_slow.wad) echo part > b_slow.hlwad.tmp; echo started; sleep 60 ;; )"
      R"(*) sleep 2.5 ;; esac; cat "$2" > "${2%.*}.hlwad")");
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
  EXPECT_TRUE(run.command1Visible);
  const std::string errorLog = ReadHostFile(In("error.log"));
  ASSERT_FALSE(reason.empty());
  // The converter-run line opens with four dots, gains three each clock second, and ends with the
  // time elapsed and why the run stopped.
  std::smatch match;
  ASSERT_TRUE(std::regex_search(
      errorLog, match,
      std::regex(R"( \.{4}((\.{3})*)\.{3} STOPPED after 00:(\d\d): )" + reason + R"(\.\r\n)")))
      << errorLog;
  const auto ticks = match[1].length() / 3;
  EXPECT_GE(ticks, 2);
  EXPECT_LE(ticks, std::stoi(match[3]));
  // The stop is the cause of the slow WAD's failure, and what its converter said is kept.
  EXPECT_EQ(
      MissingInOrder(errorLog, {kConverted + DriverPath("a_quick.hlwad"),
                                kFailed + DriverPath("b_slow.hlwad"), "stopped", "\r\nstarted\n"}),
      "")
      << errorLog;
  EXPECT_FALSE(fs::exists(In("b_slow.hlwad")));
  EXPECT_FALSE(fs::exists(In("b_slow.hlwad.tmp")));
}

}  // namespace
