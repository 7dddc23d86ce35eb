#include "driver/stamp_record.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/driver/run_folder.h"

namespace {

using driver::StampRecord;

StampRecord Sample() {
  StampRecord record;
  record.WadTime = 46000.5;
  record.HlwadTime = -1.25;
  record.WadLength = 0x01020304;
  record.HlwadLength = -2;
  std::memcpy(record.StampText.data(), "text", 4);
  return record;
}

TEST(StampRecord, PacksTheFieldsLittleEndianWithoutGaps) {
  const driver::StampBytes bytes = driver::EncodeStampRecord(Sample());
  EXPECT_EQ(std::string(bytes.data(), 5), std::string("text\0", 5));
  // 46000.5 is 0x40E6761000000000 as an IEEE 754 double.
  EXPECT_EQ(std::string(bytes.data() + 200, 8), std::string("\0\0\0\0\x10\x76\xE6\x40", 8));
  EXPECT_EQ(std::string(bytes.data() + 208, 8), std::string("\0\0\0\0\0\0\xF4\xBF", 8));
  EXPECT_EQ(std::string(bytes.data() + 216, 4), "\x04\x03\x02\x01");
  EXPECT_EQ(std::string(bytes.data() + 220, 4), "\xFE\xFF\xFF\xFF");
}

// A record cut short before its lengths matches nothing: only the numbers it holds come back.
TEST(StampRecord, MatchComparesEveryNumberButNotTheText) {
  StampRecord other = Sample();
  other.StampText.fill('x');
  EXPECT_TRUE(driver::StampsMatch(Sample(), other));
  other.HlwadTime += 1.0 / 86400;
  EXPECT_FALSE(driver::StampsMatch(Sample(), other));
  other = Sample();
  other.HlwadLength = 7;
  EXPECT_FALSE(driver::StampsMatch(Sample(), other));

  const StampRecord cut =
      driver::DecodeStampRecord(driver::EncodeStampRecord(Sample()).data(), 218);
  EXPECT_EQ(cut.HlwadTime, -1.25);
  EXPECT_EQ(cut.WadLength, 0x0304);
  EXPECT_EQ(cut.HlwadLength, 0);
  EXPECT_FALSE(driver::StampsMatch(cut, Sample()));
}

class StampFile : public ::testing::Test {
 protected:
  void SetUp() override {
    driver_testing::WriteHostFile(driver_testing::In("a.wad"), std::string(1000, 'w'));
    driver_testing::WriteHostFile(driver_testing::In("a.hlwad"), std::string(2345, 'h'));
  }
  platform::FileSystem& files_ = platform::NativeFileSystem();
  const std::string wad_ = driver_testing::DriverPath("a.wad");
  const std::string hlwad_ = driver_testing::DriverPath("a.hlwad");
};

TEST_F(StampFile, WrittenRecordReadsBackEqualWithBlankPaddedText) {
  StampRecord record = driver::CurrentStampRecord(files_, wad_, hlwad_);
  EXPECT_EQ(record.WadLength, 1000);
  EXPECT_EQ(record.HlwadLength, 2345);
  EXPECT_GT(record.WadTime, 40000);
  driver::SetStampText(files_, record, wad_, hlwad_);
  ASSERT_EQ(driver::WriteStampRecord(files_, driver_testing::DriverPath("a.stmp"), record), 0);

  const std::string onDisk = driver_testing::ReadHostFile(driver_testing::In("a.stmp"));
  ASSERT_EQ(onDisk.size(), driver::kStampRecordSize);
  const std::string text = onDisk.substr(0, driver::kStampTextSize);
  EXPECT_NE(text.find(", 1000 | "), std::string::npos) << text;
  const auto end = text.find(", 2345");
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(text.find_first_not_of(' ', end + 6), std::string::npos);
  EXPECT_TRUE(driver::StampsMatch(
      driver::ReadStampRecord(files_, driver_testing::DriverPath("a.stmp")), record));

  // A stamp that cannot be read, or holds nothing, reads as a fresh record.
  driver_testing::WriteHostFile(driver_testing::In("empty.stmp"), "");
  for (const char* name : {"empty.stmp", "missing.stmp"}) {
    const StampRecord read = driver::ReadStampRecord(files_, driver_testing::DriverPath(name));
    EXPECT_TRUE(driver::StampsMatch(read, StampRecord{})) << name;
  }
}

}  // namespace
