#include "driver/conversion_batch.h"

#include <algorithm>

#include "core/file_ops.h"
#include "core/text_box.h"
#include "core/text_file.h"
#include "driver/run_paths.h"
#include "platform/platform.h"

namespace driver {

std::string BatchWord(const std::string& word) {
  if (word.find_first_of(" \t&|()^,;=%!<>") == std::string::npos) {
    return word;
  }
  std::string quoted = "\"";
  for (const char c : word) {
    quoted += c;
    if (c == '%') {
      quoted += '%';
    }
  }
  return quoted + '"';
}

bool IsSafeBatchLine(const std::string& line) {
  return std::none_of(line.begin(), line.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; });
}

std::string ConverterLine(const std::string& listedName) {
  return "wadconv.exe -wad2hl " + BatchWord(listedName) + ">" +
         BatchWord(PathsOfWad(listedName).batchLogName);
}

void WriteConversionBatch(window::ProgressWindow& window) {
  platform::FileSystem& fs = platform::NativeFileSystem();
  platform::OwnedFile file(fs);
  fs.Create(ConversionBatch(), file.get());
  core::LineWriter batch(fs, file.get());
  batch.WriteLine("c:");
  batch.WriteLine(std::string("cd ") + kTextureFolder);

  const std::int32_t count = window.List1ListCount();
  for (std::int32_t index = 0; index < count; ++index) {
    const std::string item = window.List1List(index);
    const std::string line = ConverterLine(item);
    if (IsSafeBatchLine(line)) {
      batch.WriteLine(line);
    }
    const WadPaths paths = PathsOfWad(item);
    core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.batchLogName);
    core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.hlwadFile);
  }
  core::AppendLineToTextBox(window.Text1(), "Beginning conversion ....");
  batch.WriteLine("exit");
  batch.Flush();
}

}  // namespace driver
