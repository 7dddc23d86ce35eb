// WADs named in any script, through the korvane program, its command interpreter and the converter.

#include <gtest/gtest.h>

#include "driver/run_paths.h"
#include "driver/stamp_record.h"
#include "tests/driver/run_folder.h"
#include "tests/support/temporary_folder.h"

namespace {

using namespace driver_testing;

TEST(KorvaneNames, WadsNamedInAnyScriptConvertAndAreStamped) {
  EmptyTextureFolder();
  // Stems as written, and as the driver spells its own files (A to Z lower-cased).
  const std::pair<std::string, std::string> wads[] = {
      {"Ch\u00e2teau", "ch\u00e2teau"},
      {"Preis_\u20ac", "preis_\u20ac"},
      {"\u0414\u043e\u043c", "\u0414\u043e\u043c"},
      {"\u30c6\u30af\u30b9\u30c1\u30e3", "\u30c6\u30af\u30b9\u30c1\u30e3"},
  };
  for (const auto& [stem, lower] : wads) {
    WriteHostFile(In(stem + ".wad"), QuakeWad(2));
  }
  const test_support::TemporaryFolder scratch("korvane-names");
  const auto run = RunHeadless(KORVANE_PROGRAM, scratch.path());
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  const std::string runLog = ReadHostFile(In("successful.log"));
  for (const auto& [stem, lower] : wads) {
    EXPECT_TRUE(Mentions(runLog, kConverted + DriverPath(lower + ".hlwad") + "\r\n")) << runLog;
    EXPECT_EQ(ReadHostFile(In("logs/" + lower + ".stmp")).size(), driver::kStampRecordSize);
    EXPECT_EQ(ReadHostFile(In("logs/" + lower + ".log")), "<missing>");
  }
  EXPECT_EQ(RunHeadless(KORVANE_PROGRAM, scratch.path()).exitCode, 0);
  EXPECT_EQ(ReadHostFile(In("successful.log")), driver::kNothingToConvert);
}

}  // namespace
