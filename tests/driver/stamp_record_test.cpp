#include "driver/stamp_record.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/driver/run_folder.h"

namespace {

using namespace driver_testing;
using driver::StampRecord;

StampRecord Sample() {
  StampRecord record{
      .WadTime = 46000.5, .HlwadTime = -1.25, .WadLength = 0x01020304, .HlwadLength = -2};
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

TEST(StampRecord, MatchComparesTheNumbersButNotTheText) {
  StampRecord other = Sample();
  other.StampText.fill('x');
  EXPECT_TRUE(driver::StampsMatch(Sample(), other));
  other.HlwadTime += 1.0 / 86400;
  EXPECT_FALSE(driver::StampsMatch(Sample(), other));
}

TEST(StampRecord, WrittenForTwoFilesHoldsTheirLengthsAndBlankPaddedText) {
  WriteHostFile(In("a.wad"), std::string(1000, 'w'));
  WriteHostFile(In("a.hlwad"), std::string(2345, 'h'));
  platform::FileSystem& files = platform::NativeFileSystem();
  StampRecord record =
      driver::CurrentStampRecord(files, DriverPath("a.wad"), DriverPath("a.hlwad"));
  EXPECT_EQ(record.WadLength, 1000);
  EXPECT_EQ(record.HlwadLength, 2345);
  EXPECT_GT(record.WadTime, 40000);
  driver::SetStampText(files, record, DriverPath("a.wad"), DriverPath("a.hlwad"));
  ASSERT_EQ(driver::WriteStampRecord(files, DriverPath("a.stmp"), record), 0);
  const std::string onDisk = ReadHostFile(In("a.stmp"));
  ASSERT_EQ(onDisk.size(), driver::kStampRecordSize);
  const std::string text = onDisk.substr(0, driver::kStampTextSize);
  EXPECT_TRUE(Mentions(text, ", 1000 | ")) << text;
  const auto end = text.find(", 2345");
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(text.find_first_not_of(' ', end + 6), std::string::npos);
  EXPECT_TRUE(driver::StampsMatch(driver::ReadStampRecord(files, DriverPath("a.stmp")), record));
}

}  // namespace
