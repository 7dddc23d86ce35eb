// Whole runs of the driver on the memory window, with the real batch interpreter and the real
// converter (or a stand-in converter in the texture folder), in a temporary WINEPREFIX.

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <regex>
#include <thread>

#include "core/failure.h"
#include "driver/conversion_driver.h"
#include "driver/stamp_record.h"
#include "platform/platform.h"
#include "tests/driver/run_folder.h"
#include "tests/support/environment.h"

namespace {

namespace fs = std::filesystem;
using driver_testing::Literal;
using driver_testing::QuakeWad;
using driver_testing::ReadHostFile;
using driver_testing::RunKorvane;
using driver_testing::TextureFolder;
using driver_testing::WriteHostFile;

const std::string kFolder = "c:\\program files\\worldcraft\\textures\\";
const std::string kRule = "=================================================";
const std::string kUpToDate = "No WADs require conversion.  Everything up to date!";
// The converter-run line: the progress dots and the elapsed time vary.
const std::string kConverterLine =
    R"(Beginning conversion \.\.\.\.(\.\.\.)*\.\.\. COMPLETE: \d\d:\d\d elapsed\.)";
const std::string kNow = R"(\d{1,2}/\d{1,2}/\d{4}( \d{1,2}:\d\d:\d\d [AP]M)?)";

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += (text.empty() ? "" : "\r\n") + line;
  }
  return text;
}

std::string Decision(const std::string& name, const std::string& verdict) {
  return Literal((kFolder + name).substr(0, 40) + ": " + verdict);
}

class ConversionRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(TextureFolder());
    TextureFolder();
  }
  static fs::path In(const std::string& name) { return TextureFolder() / name; }
  static fs::path Logs(const std::string& name) { return TextureFolder() / "logs" / name; }
};

TEST_F(ConversionRun, RoadOfOneRunConvertsOnlyTheNewWad) {
  WriteHostFile(In("Base.wad"), QuakeWad(2));
  const auto first = RunKorvane();
  ASSERT_TRUE(fs::exists(Logs("base.stmp"))) << first.text1;
  WriteHostFile(In("Castle.wad"), QuakeWad(3, 5));

  const auto run = RunKorvane();

  const std::string runLog = Lines({
      Literal("BEGINNING EXAMINATION ..."),
      kRule,
      Literal("Number of Quake WADS found = 2"),
      Decision("Base.wad", "Ok"),
      Decision("Castle.wad", "Convert"),
      kRule,
      Literal("Number of WADs to Convert  = 1"),
      kConverterLine,
      Literal("Conversion successful for " + kFolder + "castle.hlwad"),
      kRule,
      Literal("Perfect ... All conversion successful! ") + kNow,
  });
  EXPECT_TRUE(std::regex_match(ReadHostFile(In("successful.log")), std::regex(runLog)))
      << ReadHostFile(In("successful.log"));
  EXPECT_TRUE(
      std::regex_match(run.text1, std::regex(runLog + Literal("\r\nEND OF DATA .. Log written to " +
                                                              kFolder + "successful.log"))))
      << run.text1;
  EXPECT_TRUE(run.everShown);
  EXPECT_FALSE(run.command1Visible);
  EXPECT_EQ(run.batchStarts, 1);
  EXPECT_FALSE(fs::exists(In("error.log")));
  EXPECT_FALSE(fs::exists(In("2hlwad.bat")));
  EXPECT_FALSE(fs::exists(Logs("castle.log")));
  EXPECT_EQ(ReadHostFile(In("Castle.hlwad")).substr(0, 4), "WAD3");
  const std::string stamp = ReadHostFile(Logs("castle.stmp"));
  ASSERT_EQ(stamp.size(), 224u);
  EXPECT_TRUE(std::regex_match(
      stamp.substr(0, 200),
      std::regex(kNow + ", " + std::to_string(ReadHostFile(In("Castle.wad")).size()) + " \\| " +
                 kNow + ", " + std::to_string(ReadHostFile(In("Castle.hlwad")).size()) + " +")))
      << stamp.substr(0, 200);
}

TEST_F(ConversionRun, SecondRunFindsEverythingUpToDateWithoutWindowOrBatch) {
  WriteHostFile(In("Base.wad"), QuakeWad(1));
  WriteHostFile(In("castle.wad"), QuakeWad(2, 3));
  RunKorvane();
  WriteHostFile(In("error.log"), "old");

  const auto run = RunKorvane();

  EXPECT_EQ(ReadHostFile(In("successful.log")), kUpToDate);
  EXPECT_FALSE(fs::exists(In("error.log")));
  EXPECT_FALSE(run.everShown);
  EXPECT_EQ(run.batchStarts, 0);
  EXPECT_EQ(run.text1, Lines({"BEGINNING EXAMINATION ...", kRule, "Number of Quake WADS found = 2",
                              (kFolder + "Base.wad").substr(0, 40) + ": Ok",
                              (kFolder + "castle.wad").substr(0, 40) + ": Ok"}));
}

TEST_F(ConversionRun, EmptyFolderEndsWithSuccessLogAlone) {
  const auto run = RunKorvane();
  EXPECT_EQ(ReadHostFile(In("successful.log")), kUpToDate);
  EXPECT_TRUE(fs::is_directory(TextureFolder() / "logs"));
  EXPECT_FALSE(run.everShown);
}

TEST_F(ConversionRun, ChangedFilesAndDamagedStampsAreConvertedAgain) {
  for (const char* name : {"touched.wad", "replaced.wad", "shortstamp.wad", "steady.wad"}) {
    WriteHostFile(In(name), QuakeWad(1));
  }
  RunKorvane();
  driver_testing::ShiftModificationTime(In("touched.wad"), -60);
  WriteHostFile(In("replaced.hlwad"), ReadHostFile(In("replaced.hlwad")) + "x");
  fs::resize_file(Logs("shortstamp.stmp"), 220);

  const auto run = RunKorvane();

  EXPECT_NE(run.text1.find(Lines({(kFolder + "replaced.wad").substr(0, 40) + ": Convert",
                                  (kFolder + "shortstamp.wad").substr(0, 40) + ": Convert",
                                  (kFolder + "steady.wad").substr(0, 40) + ": Ok",
                                  (kFolder + "touched.wad").substr(0, 40) + ": Convert"})),
            std::string::npos)
      << run.text1;
  EXPECT_NE(run.text1.find("Number of WADs to Convert  = 3"), std::string::npos);
  EXPECT_EQ(ReadHostFile(Logs("shortstamp.stmp")).size(), 224u);
  EXPECT_EQ(ReadHostFile(In("successful.log")).find(kUpToDate), std::string::npos);
  EXPECT_EQ(RunKorvane().batchStarts, 0);
}

TEST_F(ConversionRun, ZeroLengthFilesAreNeverUpToDate) {
  WriteHostFile(In("empty.wad"), "");
  WriteHostFile(In("empty.hlwad"), "");
  platform::FileSystem& files = platform::NativeFileSystem();
  const std::string wad = kFolder + "empty.wad";
  const std::string hlwad = kFolder + "empty.hlwad";
  fs::create_directories(TextureFolder() / "logs");
  ASSERT_EQ(driver::WriteStampRecord(files, kFolder + "logs\\empty.stmp",
                                     driver::CurrentStampRecord(files, wad, hlwad)),
            0);

  const auto run = RunKorvane();

  EXPECT_NE(run.text1.find(wad.substr(0, 40) + ": Convert"), std::string::npos) << run.text1;
  EXPECT_NE(run.text1.find("Error creating HLWAD: " + hlwad + " ... details ...\r\n\r\n"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(Logs("empty.stmp")));
  EXPECT_FALSE(fs::exists(In("empty.hlwad")));
}

TEST_F(ConversionRun, ConverterErrorShowsItsLogAndEndsOnDone) {
  WriteHostFile(In("Bad.wad"), QuakeWad(1));
  WriteHostFile(In("good.wad"), QuakeWad(1));
  driver_testing::DropStandInConverter(
      R"(stem="${2%.*}"; cat "$2" "$2" > "$stem.hlwad"
case "$2" in Bad.wad) printf 'reading Bad.wad\r\n** ERROR ** bad lump\r\n' ;; *) echo "** error ** is fine" ;; esac)");

  const auto run = RunKorvane(true);

  const std::string report =
      Lines({kRule, "=  ERRORS DETECTED BY WCONV UTILITY - SEE BELOW =", kRule, "",
             "Error creating HLWAD: " + kFolder + "bad.hlwad ... details ...", "",
             "reading Bad.wad", "** ERROR ** bad lump", ""});
  EXPECT_NE(run.text1.find(report + "\r\nConversion successful for " + kFolder + "good.hlwad"),
            std::string::npos)
      << run.text1;
  const std::string errorLog = ReadHostFile(In("error.log"));
  EXPECT_EQ(run.text1, errorLog + "\r\nEND OF DATA .. Log written to " + kFolder + "error.log");
  EXPECT_TRUE(errorLog.ends_with("good.hlwad\r\n" + kRule));
  EXPECT_FALSE(fs::exists(In("successful.log")));
  EXPECT_TRUE(run.label2Visible);
  EXPECT_TRUE(run.command1Visible);
  EXPECT_TRUE(window::DonePressed);
  EXPECT_FALSE(fs::exists(In("Bad.hlwad")));
  EXPECT_TRUE(fs::exists(Logs("bad.log")));
  EXPECT_FALSE(fs::exists(Logs("bad.stmp")));
  EXPECT_TRUE(fs::exists(Logs("good.stmp")));
}

TEST_F(ConversionRun, ShortOutputAndMissingOutputFail) {
  WriteHostFile(In("short.wad"), QuakeWad(2));
  WriteHostFile(In("silent.wad"), QuakeWad(2));
  WriteHostFile(In("quiet.wad"), QuakeWad(2));
  driver_testing::DropStandInConverter(
      R"(stem="${2%.*}"
case "$2" in
  short.wad) head -c 100 "$2" > "$stem.hlwad"; echo "wrote $stem.hlwad" ;;
  quiet.wad) cat "$2" > "$stem.hlwad" ;;
esac)");

  const auto run = RunKorvane(false);

  EXPECT_NE(run.text1.find(
                "Error creating HLWAD: " + kFolder + "short.hlwad ... details ...\r\n" + kFolder +
                "short.hlwad is cut short: it holds 100 bytes, fewer than "
                "the WAD's " +
                std::to_string(QuakeWad(2).size()) + " bytes.\r\n\r\nwrote short.hlwad\n"),
            std::string::npos)
      << run.text1;
  EXPECT_NE(run.text1.find("Error creating HLWAD: " + kFolder +
                           "silent.hlwad ... details ...No log exists."),
            std::string::npos);
  EXPECT_NE(run.text1.find("Conversion successful for " + kFolder + "quiet.hlwad"),
            std::string::npos);
  EXPECT_EQ(run.text1.find("ERRORS DETECTED"), run.text1.rfind("ERRORS DETECTED"));
  EXPECT_FALSE(window::DonePressed);
  EXPECT_TRUE(fs::exists(In("error.log")));
}

// An HL WAD counts only when this run's converter wrote it: an older one left beside the WAD is
// never stamped, whatever its size, while a correct conversion in the same second still counts.
TEST_F(ConversionRun, OnlyWhatThisRunsConverterWroteCounts) {
  WriteHostFile(In("stale.wad"), QuakeWad(1));
  WriteHostFile(In("stale.hlwad"), QuakeWad(3) + "older and larger");
  driver_testing::ShiftModificationTime(In("stale.hlwad"), -120);
  WriteHostFile(In("fresh.wad"), QuakeWad(1));
  WriteHostFile(In("fresh.hlwad"), QuakeWad(3) + "written this very second");
  driver_testing::DropStandInConverter(
      R"(case "$2" in fresh.wad) cat "$2" > "${2%.*}.hlwad" ;; *) echo done ;; esac)");

  const auto run = RunKorvane(true);

  EXPECT_NE(run.text1.find("Error creating HLWAD: " + kFolder +
                           "stale.hlwad ... details ...\r\n\r\ndone\n"),
            std::string::npos)
      << run.text1;
  EXPECT_FALSE(fs::exists(In("stale.hlwad")));
  EXPECT_FALSE(fs::exists(Logs("stale.stmp")));
  EXPECT_NE(run.text1.find("Conversion successful for " + kFolder + "fresh.hlwad"),
            std::string::npos);
  EXPECT_EQ(ReadHostFile(In("fresh.hlwad")), ReadHostFile(In("fresh.wad")));
  EXPECT_TRUE(fs::exists(In("error.log")));
}

// A command interpreter that cannot find the converter still creates each redirect target, so
// every WAD has a log; the WADs fail, and their old HL WADs go.
TEST_F(ConversionRun, ConverterThatNeverRanFailsEveryWad) {
  WriteHostFile(In("a.wad"), QuakeWad(1));
  WriteHostFile(In("a.hlwad"), QuakeWad(4));
  window::MemoryWindow window;
  window.OnDoEvents([](window::MemoryWindow& w) { w.ClickDone(); });

  const driver::RunResult result =
      driver::ConversionDriver(window, [](const std::string&, std::int32_t& processId) {
        WriteHostFile(TextureFolder() / "logs" / "a.log", "");
        processId = 0;
        return platform::Error{0};
      });

  EXPECT_EQ(result.failureCount, 1);
  EXPECT_NE(result.log.find("a.hlwad ... details ...No log exists."), std::string::npos)
      << result.log;
  EXPECT_FALSE(fs::exists(In("a.hlwad")));
  EXPECT_FALSE(fs::exists(Logs("a.stmp")));
  EXPECT_FALSE(fs::exists(In("successful.log")));
}

// Where nobody can see the window, a run with failures ends without waiting for Done, and the
// log box's text went out piece by piece as it grew, exactly as it ended.
TEST_F(ConversionRun, UnwatchedWindowDoesNotWaitForDoneAndEchoesItsLog) {
  WriteHostFile(In("broken.wad"), "WAD2 and nothing more");
  window::DonePressed = false;
  window::MemoryWindow window;
  window.SetWatched(false);
  std::vector<std::string> echoed;
  window.EchoLog([&echoed](std::string_view text) { echoed.emplace_back(text); });

  const driver::RunResult result = driver::ConversionDriver(window);

  EXPECT_EQ(result.failureCount, 1);
  EXPECT_FALSE(window::DonePressed);
  EXPECT_EQ(result.log, ReadHostFile(In("error.log")) + "\r\nEND OF DATA .. Log written to " +
                            kFolder + "error.log");
  EXPECT_GT(echoed.size(), 5u);
  EXPECT_EQ(std::accumulate(echoed.begin(), echoed.end(), std::string()), result.log);
}

TEST_F(ConversionRun, UnsafeNamesConvertAndStayUpToDate) {
  for (const char* name : {"my tex.wad", "Fire&Ice.wad", "100%.wad", "MiXeD.WAD"}) {
    WriteHostFile(In(name), QuakeWad(1));
  }
  WriteHostFile(In(".hidden.wad"), QuakeWad(1));
  test_support::MarkHidden(In(".hidden.wad"));
  WriteHostFile(In("old.hlwad"), QuakeWad(1));

  const auto run = RunKorvane();

  EXPECT_NE(run.text1.find("Number of Quake WADS found = 4"), std::string::npos) << run.text1;
  for (const char* stem : {"my tex", "fire&ice", "100%", "mixed"}) {
    EXPECT_NE(run.text1.find("Conversion successful for " + kFolder + stem + ".hlwad"),
              std::string::npos)
        << stem;
    EXPECT_TRUE(fs::exists(Logs(std::string(stem) + ".stmp"))) << stem;
  }
  EXPECT_EQ(RunKorvane().batchStarts, 0);
  EXPECT_EQ(ReadHostFile(In("successful.log")), kUpToDate);
}

// A batch start that lets the batch finish, then saves a.wad again, as a user still editing the
// pack would, before the driver collects the results.
platform::Error StartThenEditAWad(const std::string& commandLine, std::int32_t& processId) {
  const platform::Error error = platform::StartProcess(commandLine, processId);
  while (error == 0 && platform::ProcessIsRunning(processId)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  WriteHostFile(TextureFolder() / "a.wad", QuakeWad(2, 9));
  return error;
}

const std::string kSecondRun = "second run";

struct VerdictCase {
  const char* name;
  void (*arrange)();
  driver::StartFunction start;
  std::int32_t failures;
  // Each stands in the run log; kSecondRun starts what a second, undisturbed run says.
  std::vector<std::string> lines;
  void (*check)();
};

// What the user reads when a WAD or the run fails for a cause outside the converter, and that a
// conversion the size rule must not fail passes.
TEST_F(ConversionRun, EveryVerdictNamesItsCause) {
  const std::string a = kFolder + "a.wad";
  const VerdictCase cases[] = {
      {"a WAD saved again while the batch runs",
       [] { WriteHostFile(In("a.wad"), QuakeWad(1)); },
       StartThenEditAWad,
       1,
       {"Error creating HLWAD: " + kFolder + "a.hlwad ... details ...\r\n" + a +
            " changed during the conversion; it will be converted again on the next run.",
        kSecondRun, "Conversion successful for " + kFolder + "a.hlwad"},
       [] {}},
      {"an old HL WAD that cannot be deleted",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         WriteHostFile(In("a.hlwad"), "old");
         fs::permissions(In("a.hlwad"), fs::perms::owner_read);
       },
       platform::StartProcess,
       1,
       {"a.hlwad ... details ...\r\nNot converted, as the old " + kFolder +
        "a.hlwad cannot be deleted: Permission denied."},
       [] {
         EXPECT_EQ(ReadHostFile(In("a.hlwad")), "old");
         EXPECT_FALSE(fs::exists(Logs("a.stmp")));
       }},
      {"two WADs whose names differ only in letter case",
       [] {
         WriteHostFile(In("Base.wad"), QuakeWad(1));
         WriteHostFile(In("base.WAD"), QuakeWad(2));
       },
       platform::StartProcess,
       1,
       {"Conversion successful for " + kFolder + "base.hlwad",
        "base.hlwad ... details ...\r\nbase.WAD shares its HL WAD name with Base.wad: rename one",
        kSecondRun, (kFolder + "Base.wad").substr(0, 40) + ": Ok",
        "base.WAD shares its HL WAD name with Base.wad: rename one"},
       [] {
         EXPECT_TRUE(fs::exists(In("Base.hlwad")));
         EXPECT_TRUE(fs::exists(Logs("base.stmp")));
       }},
      {"a file where the logs folder should be",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         WriteHostFile(In("a.hlwad"), "old");
         WriteHostFile(In("logs"), "a file");
       },
       platform::StartProcess,
       2,
       {"Cannot write in the logs folder " + kFolder + "logs: Not a directory.",
        "a.hlwad ... details ...\r\nNot converted, as the run could not go on (see above)."},
       [] { EXPECT_EQ(ReadHostFile(In("a.hlwad")), "old"); }},
      {"a folder where the batch should be",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         fs::create_directories(In("2hlwad.bat"));
       },
       platform::StartProcess,
       2,
       {"Beginning conversion ....\r\nCannot write the batch " + kFolder +
            "2hlwad.bat: Is a directory.",
        "a.hlwad ... details ...\r\nNot converted, as the batch could not be written."},
       [] {}},
      {"a previous run log that cannot be deleted",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         fs::create_directories(In("successful.log"));
       },
       platform::StartProcess,
       1,
       {kRule + "\r\nCannot delete the previous run log " + kFolder +
            "successful.log: Is a directory.",
        "Conversion successful for " + kFolder + "a.hlwad",
        "END OF DATA .. Log written to " + kFolder + "error.log"},
       [] { EXPECT_TRUE(fs::exists(In("error.log"))); }},
      {"a hard link where the batch is written",
       [] {
         WriteHostFile(In("a.wad"), QuakeWad(1));
         WriteHostFile(TextureFolder().parent_path() / "elsewhere.txt", "keep");
         fs::create_hard_link(TextureFolder().parent_path() / "elsewhere.txt", In("2hlwad.bat"));
       },
       platform::StartProcess,
       0,
       {"Conversion successful for " + kFolder + "a.hlwad"},
       [] {
         EXPECT_EQ(ReadHostFile(TextureFolder().parent_path() / "elsewhere.txt"), "keep");
         fs::remove(TextureFolder().parent_path() / "elsewhere.txt");
       }},
      {"a WAD whose HL WAD is smaller for the lumps that are not textures",
       [] { WriteHostFile(In("a.wad"), QuakeWad(1, 0, 20000)); },
       platform::StartProcess,
       0,
       {"Conversion successful for " + kFolder + "a.hlwad"},
       [] {
         EXPECT_LT(fs::file_size(In("a.hlwad")), fs::file_size(In("a.wad")));
         EXPECT_EQ(RunKorvane().batchStarts, 0);
       }},
  };
  for (const VerdictCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(TextureFolder());
    TextureFolder();
    c.arrange();
    window::MemoryWindow window;
    window.OnDoEvents([](window::MemoryWindow& w) { w.ClickDone(); });
    const driver::RunResult result = driver::ConversionDriver(window, c.start);
    EXPECT_EQ(result.failureCount, c.failures) << result.log;
    EXPECT_EQ(fs::exists(In("successful.log")) && !fs::is_directory(In("successful.log")),
              c.failures == 0);
    std::string log = result.log;
    for (const std::string& line : c.lines) {
      if (line == kSecondRun) {
        log = RunKorvane().text1;
        continue;
      }
      EXPECT_NE(log.find(line), std::string::npos) << line << "\n---\n" << log;
    }
    c.check();
  }
}

TEST_F(ConversionRun, MissingTextureFolderStopsBeforeTheWindow) {
  fs::remove_all(driver_testing::DriveC() / "program files");
  driver_testing::WatchedWindow window;
  EXPECT_THROW(driver::ConversionDriver(window), core::SystemFailure);
  EXPECT_FALSE(window.Loaded());
  EXPECT_FALSE(fs::exists(driver_testing::DriveC() / "program files"));
}

TEST_F(ConversionRun, ProgressDotsAppearAtMostOncePerSecond) {
  WriteHostFile(In("slow.wad"), QuakeWad(1));
  driver_testing::DropStandInConverter(R"(sleep 2.5; cat "$2" > "${2%.*}.hlwad")");

  const auto run = RunKorvane();

  std::smatch match;
  ASSERT_TRUE(std::regex_search(
      run.text1, match,
      std::regex(
          R"(Beginning conversion \.\.\.\.((\.\.\.)*)\.\.\. COMPLETE: 00:(\d\d) elapsed\.)")))
      << run.text1;
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
  driver_testing::ShiftModificationTime(In("b_slow.hlwad"), -120);
  driver_testing::DropStandInConverter(
      R"(case "$2" in b_slow.wad) echo part > b_slow.hlwad.tmp; echo started; sleep 60 ;; esac; )"
      R"(cat "$2" > "${2%.*}.hlwad")");
  window::DonePressed = false;
  driver_testing::WatchedWindow window;
  window.OnDoEvents([](window::MemoryWindow& w) {
    if (fs::exists(TextureFolder() / "a_quick.hlwad") && !w.Closed()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      w.CloseByFrame();
    }
  });
  const auto begin = std::chrono::steady_clock::now();

  driver::ConversionDriver(window);

  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(30));
  EXPECT_FALSE(window::DonePressed);
  const std::string errorLog = ReadHostFile(In("error.log"));
  EXPECT_NE(errorLog.find("Conversion successful for " + kFolder + "a_quick.hlwad"),
            std::string::npos)
      << errorLog;
  EXPECT_TRUE(std::regex_search(
      errorLog, std::regex(R"(\.\.\. STOPPED after 00:\d\d: the window was closed\.\r\n)")))
      << errorLog;
  EXPECT_NE(errorLog.find("b_slow.hlwad ... details ...\r\nNot converted because the run was "
                          "stopped.\r\n\r\nstarted\n"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(In("b_slow.hlwad")));
  EXPECT_FALSE(fs::exists(In("b_slow.hlwad.tmp")));
  EXPECT_TRUE(window.seen.command1Visible);
}

}  // namespace
