// libFuzzer target: stamp records of any length. The first record decodes from the whole input,
// the second from what follows the first 224 bytes. Decoding and encoding must give back the bytes
// decoded (a short input padded with zeros), a record must survive a write and a read, and the
// comparison must agree with the numbers' bytes.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "driver/stamp_record.h"
#include "fuzz/chunked_file_system.h"
#include "fuzz/fuzz_check.h"

namespace {

using driver::kStampRecordSize;
using driver::kStampTextSize;
using driver::StampBytes;
using driver::StampRecord;

// Where the two lengths lie in the encoded record.
constexpr std::size_t kLengthsOffset = 216;

StampBytes Padded(const char* bytes, std::size_t size) {
  StampBytes padded{};
  std::memcpy(padded.data(), bytes, std::min(size, kStampRecordSize));
  return padded;
}

// Two times the comparison must take as equal: the same value, which for doubles includes 0 and
// -0 and excludes NaN.
bool SameTime(double a, double b) {
  return !std::isnan(a) && !std::isnan(b) && (a == b);
}

void CheckComparison(const StampRecord& a, const StampRecord& b) {
  const StampBytes x = driver::EncodeStampRecord(a);
  const StampBytes y = driver::EncodeStampRecord(b);
  const bool sameNumbers =
      SameTime(a.WadTime, b.WadTime) && SameTime(a.HlwadTime, b.HlwadTime) &&
      std::memcmp(x.data() + kLengthsOffset, y.data() + kLengthsOffset, 8) == 0;
  fuzz::Require(driver::StampsMatch(a, b) == sameNumbers,
                "records match exactly when their times and lengths are the same");
  fuzz::Require(driver::StampsMatch(a, b) == driver::StampsMatch(b, a),
                "the comparison is symmetric");
}

void CheckFileRoundTrip(const StampRecord& record, const char* bytes, std::size_t size,
                        std::size_t chunk) {
  fuzz::ChunkedFileSystem fs(chunk);
  fs.files["raw.stamp"].assign(bytes, bytes + size);
  fuzz::Require(
      driver::EncodeStampRecord(driver::ReadStampRecord(fs, "raw.stamp")) == Padded(bytes, size),
      "a stamp file reads as the record its first 224 bytes hold");
  fuzz::Require(driver::WriteStampRecord(fs, "new.stamp", record) == 0,
                "a stamp is written to a file system that does not fail");
  fuzz::Require(fs.files["new.stamp"].size() == kStampRecordSize, "a stamp file has 224 bytes");
  fuzz::Require(driver::EncodeStampRecord(driver::ReadStampRecord(fs, "new.stamp")) ==
                    driver::EncodeStampRecord(record),
                "a written stamp reads back as written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto* bytes = reinterpret_cast<const char*>(data);
  const StampRecord first = driver::DecodeStampRecord(bytes, size);
  fuzz::Require(driver::EncodeStampRecord(first) == Padded(bytes, size),
                "encoding gives back the bytes decoded");
  fuzz::Require(
      std::memcmp(first.StampText.data(), Padded(bytes, size).data(), kStampTextSize) == 0,
      "the stamp text is the record's first 200 bytes");

  const std::size_t rest = size > kStampRecordSize ? size - kStampRecordSize : 0;
  const StampRecord second = driver::DecodeStampRecord(bytes + size - rest, rest);
  CheckComparison(first, first);
  CheckComparison(first, second);
  CheckFileRoundTrip(first, bytes, size, 1 + size % 61);
  return 0;
}
