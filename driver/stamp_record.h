#pragma once

// The stamp of one WAD: the times and lengths of the WAD and of its HL WAD when a conversion
// succeeded. A later run compares it with the two files as they are now. On disk it is 224 bytes,
// the fields packed in order, numbers little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace driver {

inline constexpr std::size_t kStampTextSize = 200;
inline constexpr std::size_t kStampRecordSize = 224;

// A fresh record: every number zero, StampText all bytes 0.
struct StampRecord {
  std::array<char, kStampTextSize> StampText{};
  double WadTime = 0;
  double HlwadTime = 0;
  std::int32_t WadLength = 0;
  std::int32_t HlwadLength = 0;
};

using StampBytes = std::array<char, kStampRecordSize>;

StampBytes EncodeStampRecord(const StampRecord& record);
// Decodes the first `size` bytes; a shorter input leaves the rest of the record fresh.
StampRecord DecodeStampRecord(const char* bytes, std::size_t size);

// The time and length of one file as a stamp holds them: 0, the error of the failing query, or
// kLengthOutOfRange for a length beyond the record's signed 32-bit range.
inline constexpr platform::Error kLengthOutOfRange = -2;
[[nodiscard]] platform::Error FileTimeAndLength(platform::FileSystem& fs, const std::string& path,
                                                double& time, std::int32_t& length);

// The record of the two files as they are now. A time or length that cannot be read stays zero;
// StampText stays fresh.
StampRecord CurrentStampRecord(platform::FileSystem& fs, const std::string& wadFile,
                               const std::string& hlwadFile);
// Fills StampText from fresh queries of the two files; when any of them fails it stays fresh.
void SetStampText(platform::FileSystem& fs, StampRecord& record, const std::string& wadFile,
                  const std::string& hlwadFile);

// Reads one record from the start of the file; what the file does not hold stays fresh.
StampRecord ReadStampRecord(platform::FileSystem& fs, const std::string& stampFile);
// Writes the 224 bytes as the whole file. Returns the error of the first failing step, 0 on
// success.
[[nodiscard]] platform::Error WriteStampRecord(platform::FileSystem& fs,
                                               const std::string& stampFile,
                                               const StampRecord& record);

// Equal in the four numbers (times compared exactly); StampText plays no part.
bool StampsMatch(const StampRecord& a, const StampRecord& b);

}  // namespace driver
