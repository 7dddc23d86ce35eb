#include "driver/stamp_record.h"

#include <bit>
#include <cstring>
#include <limits>

#include "core/date_text.h"

namespace driver {

namespace {

constexpr std::size_t kWadTimeOffset = 200;
constexpr std::size_t kHlwadTimeOffset = 208;
constexpr std::size_t kWadLengthOffset = 216;
constexpr std::size_t kHlwadLengthOffset = 220;

void PutLittleEndian(StampBytes& bytes, std::size_t offset, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) {
    bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

std::uint64_t GetLittleEndian(const StampBytes& bytes, std::size_t offset, int size) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) {
    value |= std::uint64_t{static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)])}
             << (8 * i);
  }
  return value;
}

// A length as the record holds it; one beyond the signed 32-bit range cannot be taken.
bool LengthOf(platform::FileSystem& fs, const std::string& path, std::int32_t& length) {
  std::int64_t full = 0;
  if (fs.Length(path, full) != 0 || full > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  length = static_cast<std::int32_t>(full);
  return true;
}

}  // namespace

StampBytes EncodeStampRecord(const StampRecord& record) {
  StampBytes bytes{};
  std::memcpy(bytes.data(), record.StampText.data(), kStampTextSize);
  PutLittleEndian(bytes, kWadTimeOffset, std::bit_cast<std::uint64_t>(record.WadTime), 8);
  PutLittleEndian(bytes, kHlwadTimeOffset, std::bit_cast<std::uint64_t>(record.HlwadTime), 8);
  PutLittleEndian(bytes, kWadLengthOffset, static_cast<std::uint32_t>(record.WadLength), 4);
  PutLittleEndian(bytes, kHlwadLengthOffset, static_cast<std::uint32_t>(record.HlwadLength), 4);
  return bytes;
}

StampRecord DecodeStampRecord(const char* bytes, std::size_t size) {
  StampBytes full{};
  std::memcpy(full.data(), bytes, size < kStampRecordSize ? size : kStampRecordSize);
  StampRecord record;
  std::memcpy(record.StampText.data(), full.data(), kStampTextSize);
  record.WadTime = std::bit_cast<double>(GetLittleEndian(full, kWadTimeOffset, 8));
  record.HlwadTime = std::bit_cast<double>(GetLittleEndian(full, kHlwadTimeOffset, 8));
  record.WadLength = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(GetLittleEndian(full, kWadLengthOffset, 4)));
  record.HlwadLength = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(GetLittleEndian(full, kHlwadLengthOffset, 4)));
  return record;
}

platform::Error FileTimeAndLength(platform::FileSystem& fs, const std::string& path, double& time,
                                  std::int32_t& length) {
  if (const platform::Error error = fs.ModificationTime(path, time); error != 0) {
    return error;
  }
  std::int64_t full = 0;
  if (const platform::Error error = fs.Length(path, full); error != 0) {
    return error;
  }
  if (full > std::numeric_limits<std::int32_t>::max()) {
    return kLengthOutOfRange;
  }
  length = static_cast<std::int32_t>(full);
  return 0;
}

StampRecord CurrentStampRecord(platform::FileSystem& fs, const std::string& wadFile,
                               const std::string& hlwadFile) {
  StampRecord record;
  double time = 0;
  if (fs.ModificationTime(wadFile, time) == 0) {
    record.WadTime = time;
  }
  if (fs.ModificationTime(hlwadFile, time) == 0) {
    record.HlwadTime = time;
  }
  LengthOf(fs, wadFile, record.WadLength);
  LengthOf(fs, hlwadFile, record.HlwadLength);
  return record;
}

void SetStampText(platform::FileSystem& fs, StampRecord& record, const std::string& wadFile,
                  const std::string& hlwadFile) {
  double wadTime = 0;
  double hlwadTime = 0;
  std::int32_t wadLength = 0;
  std::int32_t hlwadLength = 0;
  if (fs.ModificationTime(wadFile, wadTime) != 0 || !LengthOf(fs, wadFile, wadLength) ||
      fs.ModificationTime(hlwadFile, hlwadTime) != 0 || !LengthOf(fs, hlwadFile, hlwadLength)) {
    return;
  }
  std::string text = core::GeneralDateTime(wadTime) + ", " + std::to_string(wadLength) + " | " +
                     core::GeneralDateTime(hlwadTime) + ", " + std::to_string(hlwadLength);
  text.resize(kStampTextSize, ' ');
  std::memcpy(record.StampText.data(), text.data(), kStampTextSize);
}

StampRecord ReadStampRecord(platform::FileSystem& fs, const std::string& stampFile) {
  StampBytes bytes{};
  std::size_t filled = 0;
  platform::OwnedFile file(fs);
  if (fs.OpenRead(stampFile, file.get()) == 0) {
    while (filled < kStampRecordSize) {
      std::size_t got = 0;
      if (fs.Read(file.get(), bytes.data() + filled, kStampRecordSize - filled, got) != 0 ||
          got == 0) {
        break;
      }
      filled += got;
    }
  }
  return DecodeStampRecord(bytes.data(), filled);
}

platform::Error WriteStampRecord(platform::FileSystem& fs, const std::string& stampFile,
                                 const StampRecord& record) {
  platform::OwnedFile file(fs);
  if (const platform::Error error = fs.Create(stampFile, file.get()); error != 0) {
    return error;
  }
  const StampBytes bytes = EncodeStampRecord(record);
  const platform::Error written = fs.Write(file.get(), bytes.data(), bytes.size());
  const platform::Error closed = file.Close();
  return written != 0 ? written : closed;
}

bool StampsMatch(const StampRecord& a, const StampRecord& b) {
  return a.WadTime == b.WadTime && a.HlwadTime == b.HlwadTime && a.WadLength == b.WadLength &&
         a.HlwadLength == b.HlwadLength;
}

}  // namespace driver
