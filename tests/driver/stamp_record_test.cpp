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

TEST(StampRecord, ShortInputSuppliesOnlyWhatItHolds) {
  const driver::StampBytes bytes = driver::EncodeStampRecord(Sample());
  const StampRecord upToLengths = driver::DecodeStampRecord(bytes.data(), 218);
  EXPECT_EQ(upToLengths.WadTime, 46000.5);
  EXPECT_EQ(upToLengths.HlwadTime, -1.25);
  EXPECT_EQ(upToLengths.WadLength, 0x0304);
  EXPECT_EQ(upToLengths.HlwadLength, 0);
  EXPECT_FALSE(driver::StampsMatch(upToLengths, Sample()));

  const StampRecord empty = driver::DecodeStampRecord(bytes.data(), 0);
  EXPECT_EQ(empty.WadTime, 0);
  EXPECT_EQ(empty.WadLength, 0);
  EXPECT_EQ(empty.StampText, StampRecord{}.StampText);
}

TEST(StampRecord, MatchIgnoresTheTextAndComparesEveryNumber) {
  StampRecord other = Sample();
  other.StampText.fill('x');
  EXPECT_TRUE(driver::StampsMatch(Sample(), other));
  other.HlwadTime += 1.0 / 86400;
  EXPECT_FALSE(driver::StampsMatch(Sample(), other));
  other = Sample();
  other.HlwadLength = 7;
  EXPECT_FALSE(driver::StampsMatch(Sample(), other));
}

class StampFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto folder = driver_testing::TextureFolder();
    driver_testing::WriteHostFile(folder / "a.wad", std::string(1000, 'w'));
    driver_testing::WriteHostFile(folder / "a.hlwad", std::string(2345, 'h'));
  }
  platform::FileSystem& files_ = platform::NativeFileSystem();
  const std::string folder_ = "c:\\program files\\worldcraft\\textures\\";
};

TEST_F(StampFile, WrittenRecordReadsBackEqualWithBlankPaddedText) {
  StampRecord record = driver::CurrentStampRecord(files_, folder_ + "a.wad", folder_ + "a.hlwad");
  EXPECT_EQ(record.WadLength, 1000);
  EXPECT_EQ(record.HlwadLength, 2345);
  EXPECT_GT(record.WadTime, 40000);
  driver::SetStampText(files_, record, folder_ + "a.wad", folder_ + "a.hlwad");
  ASSERT_EQ(driver::WriteStampRecord(files_, folder_ + "a.stmp", record), 0);

  const std::string onDisk =
      driver_testing::ReadHostFile(driver_testing::TextureFolder() / "a.stmp");
  ASSERT_EQ(onDisk.size(), 224u);
  const std::string text = onDisk.substr(0, 200);
  EXPECT_NE(text.find(", 1000 | "), std::string::npos) << text;
  const auto end = text.find(", 2345");
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(text.find_first_not_of(' ', end + 6), std::string::npos);
  EXPECT_TRUE(driver::StampsMatch(driver::ReadStampRecord(files_, folder_ + "a.stmp"), record));
}

TEST_F(StampFile, TextStaysZeroWhenAFileCannotBeQueried) {
  StampRecord record =
      driver::CurrentStampRecord(files_, folder_ + "a.wad", folder_ + "missing.hlwad");
  driver::SetStampText(files_, record, folder_ + "a.wad", folder_ + "missing.hlwad");
  EXPECT_EQ(record.StampText, StampRecord{}.StampText);
  EXPECT_EQ(record.WadLength, 1000);
  EXPECT_EQ(record.HlwadLength, 0);
  EXPECT_EQ(record.HlwadTime, 0);
}

TEST_F(StampFile, MissingOrEmptyStampReadsFresh) {
  driver_testing::WriteHostFile(driver_testing::TextureFolder() / "empty.stmp", "");
  for (const char* name : {"empty.stmp", "missing.stmp"}) {
    const StampRecord record = driver::ReadStampRecord(files_, folder_ + name);
    EXPECT_TRUE(driver::StampsMatch(record, StampRecord{})) << name;
  }
}

}  // namespace
