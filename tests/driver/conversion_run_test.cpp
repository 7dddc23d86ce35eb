// Whole runs of the driver on the memory window, its converter real or a stand-in.

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "core/failure.h"
#include "core/text_box.h"
#include "driver/examination.h"
#include "driver/run_paths.h"
#include "driver/stamp_record.h"
#include "platform/platform.h"
#include "tests/driver/run_folder.h"
#include "tests/support/environment.h"

namespace {

namespace fs = std::filesystem;
using namespace driver_testing;

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

platform::Error NoBatch(const std::string&, std::int32_t&) {
  return platform::Error{5};
}

// A folder through three runs: WADs named with what a command interpreter reads as syntax, and a
// hidden one; nothing to do; files changed behind their stamps' backs and a new WAD.
TEST(ConversionRun, EachRunConvertsWhatChangedSinceItsStampAndAnUpToDateRunShowsNoWindow) {
  EmptyTextureFolder();
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
  EXPECT_TRUE(run.everShown && !run.command1Visible);
  WriteHostFile(In("error.log"), "old");
  const RunOutcome upToDate = RunKorvane(PressDone, NoBatch);
  EXPECT_EQ(ReadHostFile(In("successful.log")), driver::kNothingToConvert);
  EXPECT_FALSE(fs::exists(In("error.log")));
  EXPECT_FALSE(upToDate.everShown);
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
    EXPECT_TRUE(Mentions(changed.log, core::FixedWidth(DriverPath(wad), 40) +
                                          (stem == "steady" ? ": Ok" : ": Convert")))
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
  Files files;
  // Each stands in the run log after the one before; kSecondRun starts what a second, undisturbed
  // run says.
  std::vector<std::string> parts;
  const char* converter = nullptr;
  Files after = {};
  void (*arrange)() = nullptr;
  driver::StartFunction start = platform::StartProcess;
};

// Why a WAD or the run fails, by what the converter wrote and said or for a cause outside it, and
// conversions no rule may fail. Only the error marker in capitals is an error; an HL WAD counts
// only when this run's converter wrote it, even in the same second as an older one.
TEST(ConversionRun, EveryVerdictNamesItsCause) {
  const std::string a = DriverPath("a.hlwad");
  const std::string wad = QuakeWad(1);
  const Files unconverted = {{"a.hlwad", kAbsent}, {"logs/a.stmp", kAbsent}};
  const std::string leftOut =
      UpToDateWithTwoLeftOut().substr(UpToDateWithTwoLeftOut().find('\n') + 1);
  const std::string banner = driver::kRuleLine + std::string("\r\n=");
  const VerdictCase cases[] = {
      VerdictCase(
          "the converter's error marker, with its words kept", 1, {{"Bad.wad", wad}},
          {kFailed + DriverPath("bad.hlwad"), "\r\nreading Bad.wad\r\n** ERROR ** bad lump\r\n"},
          R"(cat "$2" "$2" > Bad.hlwad; printf 'reading Bad.wad\r\n** ERROR ** bad lump\r\n')",
          {{"Bad.hlwad", kAbsent}, {"logs/bad.stmp", kAbsent}, {"logs/bad.log", kAFile}}),
      VerdictCase("the error marker in lower case", 0, {{"a.wad", wad}}, {kConverted + a},
                  R"(cat "$2" "$2" > a.hlwad; echo "** error ** is fine")",
                  {{"logs/a.stmp", kAFile}}),
      VerdictCase("an HL WAD cut short", 1, {{"a.wad", wad}},
                  {kFailed + a, a + " is cut short: it holds 100 bytes",
                   std::to_string(wad.size()) + " bytes", "\r\nwrote a.hlwad\n"},
                  R"(head -c 100 "$2" > a.hlwad; echo "wrote a.hlwad")", unconverted),
      VerdictCase("a converter that writes and says nothing", 1, {{"a.wad", wad}},
                  {kFailed + a, "No log exists."}, "true", unconverted),
      VerdictCase("an older HL WAD left standing", 1,
                  {{"a.wad", wad}, {"a.hlwad", wad + "older and larger"}},
                  {kFailed + a, "\r\ndone\n"}, "echo done", unconverted,
                  [] { ShiftModificationTime(In("a.hlwad"), -120); }),
      VerdictCase("an HL WAD written again in the same second, without a word", 0,
                  {{"a.wad", wad}, {"a.hlwad", wad + "written this very second"}}, {kConverted + a},
                  R"(cat "$2" > a.hlwad)", {{"a.hlwad", wad}, {"logs/a.stmp", kAFile}}),
      VerdictCase("a WAD saved again while the batch runs", 1, {{"a.wad", wad}},
                  {kFailed + a, DriverPath("a.wad") + " changed during the conversion", kSecondRun,
                   kConverted + a},
                  nullptr, {}, nullptr, StartThenEditAWad),
      VerdictCase("an old HL WAD that cannot be deleted", 1, {{"a.wad", wad}, {"a.hlwad", "old"}},
                  {kFailed + a, a + " cannot be deleted: Permission denied."}, nullptr,
                  {{"a.hlwad", "old"}, {"logs/a.stmp", kAbsent}},
                  [] { fs::permissions(In("a.hlwad"), fs::perms::owner_read); }),
      VerdictCase("two WADs whose names differ only in letter case", 1,
                  {{"Base.wad", wad}, {"base.WAD", QuakeWad(2)}},
                  {kConverted + DriverPath("base.hlwad"), kFailed + DriverPath("base.hlwad"),
                   "base.WAD shares its HL WAD name with Base.wad", kSecondRun,
                   core::FixedWidth(DriverPath("Base.wad"), 40) + ": Ok",
                   "base.WAD shares its HL WAD name with Base.wad"}),
      VerdictCase("a file where the logs folder should be", 2,
                  {{"a.wad", wad}, {"a.hlwad", "old"}, {"logs", "a file"}},
                  {DriverPath("logs") + ": Not a directory.", kFailed + a, "Not converted"},
                  nullptr, {{"a.hlwad", "old"}}),
      VerdictCase("a previous run log that cannot be deleted", 1,
                  {{"a.wad", wad}, {"successful.log", kAFolder}},
                  {driver::kSuccessRunLog + std::string(": Is a directory."), kConverted + a,
                   driver::kErrorRunLog}),
      VerdictCase("a hard link where the batch is written", 0,
                  {{"a.wad", wad}, {"../elsewhere.txt", "keep"}}, {kConverted + a}, nullptr,
                  {{"../elsewhere.txt", "keep"}},
                  [] { fs::create_hard_link(In("../elsewhere.txt"), In("2hlwad.bat")); }),
      VerdictCase("a WAD whose HL WAD is smaller for a picture lump that is no texture", 0,
                  {{"a.wad", QuakeWad(1, 0, 20000)}},
                  {kConverted + a, kSecondRun, driver::kNothingToConvert}),
      VerdictCase("names Windows cannot hold, counted also when up to date; no folder counts", 0,
                  {{"a.wad", wad}, {"a:b.wad", wad}, {"tab\t.wad", wad}, {"folder.wad", kAFolder}},
                  {leftOut, kConverted + a, kSecondRun, UpToDateWithTwoLeftOut()}, nullptr,
                  {{"successful.log", UpToDateWithTwoLeftOut()}}),
  };
  for (const VerdictCase& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyTextureFolder();
    WriteFiles(c.files);
    if (c.converter != nullptr) {
      DropStandInConverter(c.converter);
    }
    if (c.arrange != nullptr) {
      c.arrange();
    }
    const RunOutcome first = RunKorvane(PressDone, c.start);
    EXPECT_EQ(first.failureCount, c.failures) << first.log;
    // A failure shows the banner, once, and waits for Done; a success saves successful.log.
    EXPECT_EQ(fs::is_regular_file(In("successful.log")), c.failures == 0);
    EXPECT_EQ(first.label2Visible && first.command1Visible && window::DonePressed, c.failures > 0);
    EXPECT_EQ(first.log.find(banner), first.log.rfind(banner));
    const auto second = std::find(c.parts.begin(), c.parts.end(), kSecondRun);
    EXPECT_EQ(MissingInOrder(first.log, {c.parts.begin(), second}), "") << first.log;
    if (second != c.parts.end()) {
      const std::string log = RunKorvane().log;
      EXPECT_EQ(MissingInOrder(log, {second + 1, c.parts.end()}), "") << log;
    }
    ExpectFiles(c.after);
  }
}

TEST(ConversionRun, MissingTextureFolderStopsBeforeTheWindow) {
  fs::remove_all(DriveC() / "program files");
  window::MemoryWindow window;
  EXPECT_THROW(driver::ConversionDriver(window), core::SystemFailure);
  EXPECT_FALSE(window.Loaded() || fs::exists(DriveC() / "program files"));
}

// The first WAD takes 2.5 s; once it is converted the user closes the window while the second one
// still converts.
TEST(ConversionRun, ClosingTheWindowStopsTheConverterAndEndsWithoutDone) {
  EmptyTextureFolder();
  WriteHostFile(In("a_quick.wad"), QuakeWad(1));
  WriteHostFile(In("b_slow.wad"), QuakeWad(1));
  WriteHostFile(In("b_slow.hlwad"), QuakeWad(1) + "from an earlier run");
  ShiftModificationTime(In("b_slow.hlwad"), -120);
  DropStandInConverter(
      R"(case "$2" in b_slow.wad) echo part > b_slow.hlwad.tmp; echo started; sleep 60 ;; )"
      R"(*) sleep 2.5 ;; esac; cat "$2" > "${2%.*}.hlwad")");
  std::string reason;
  const RunOutcome run = RunKorvane([&reason](window::MemoryWindow& w) {
    if (fs::exists(In("a_quick.hlwad")) && !w.Closed()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      w.CloseByFrame();
      reason = driver::StopReason(w);
    }
  });
  EXPECT_TRUE(run.stopped && run.command1Visible && !window::DonePressed);
  const std::string errorLog = ReadHostFile(In("error.log"));
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
}

}  // namespace
