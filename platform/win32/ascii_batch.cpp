#include "platform/win32/ascii_batch.h"

#include "platform/common/batch_text.h"
#include "platform/platform.h"
#include "platform/win32/text_encoding.h"

namespace platform::win32 {

namespace {

bool ReadWhole(FileSystem& fs, const std::string& path, std::string& text) {
  OwnedFile file(fs);
  if (fs.OpenRead(path, file.get()) != 0) {
    return false;
  }
  char buffer[4096];
  std::size_t got = 0;
  do {
    if (fs.Read(file.get(), buffer, sizeof buffer, got) != 0) {
      return false;
    }
    text.append(buffer, got);
  } while (got > 0);
  return true;
}

bool WriteWhole(FileSystem& fs, const std::string& path, const std::string& text) {
  OwnedFile file(fs);
  return fs.Create(path, file.get()) == 0 && fs.Write(file.get(), text.data(), text.size()) == 0 &&
         file.Close() == 0;
}

}  // namespace

std::vector<std::wstring> MakeBatchAscii(const std::string& path) {
  FileSystem& fs = NativeFileSystem();
  std::string text;
  if (!ReadWhole(fs, path, text)) {
    return {};
  }
  std::vector<std::string> runs;
  const std::string ascii = common::AsciiBatchText(text, runs);
  if (runs.empty() || !WriteWhole(fs, path, ascii)) {
    return {};
  }
  std::vector<std::wstring> entries;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    entries.push_back(Wide(common::kBatchTextVariable + std::to_string(i + 1) + "=" + runs[i]));
  }
  return entries;
}

}  // namespace platform::win32
