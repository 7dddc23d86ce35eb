#include "driver/conversion_batch.h"

#include <algorithm>
#include <vector>

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

namespace {

// Deletes the WAD's old log and old HL WAD; the failure that stops it, or empty.
std::string ClearOldOutput(platform::FileSystem& fs, const WadPaths& paths) {
  for (const std::string& old : {paths.conversionLog, paths.hlwadFile}) {
    if (const std::int16_t killed = core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(old, fs);
        killed != -1) {
      return FailureText("Not converted, as the old " + old + " cannot be deleted", killed);
    }
  }
  return {};
}

platform::Error WriteBatchFile(platform::FileSystem& fs, const std::vector<std::string>& lines) {
  platform::OwnedFile file(fs);
  if (const platform::Error error = fs.Create(ConversionBatch(), file.get()); error != 0) {
    return error;
  }
  core::LineWriter batch(fs, file.get());
  platform::Error error = 0;
  for (const std::string& line : lines) {
    if (error == 0) {
      error = batch.WriteLine(line);
    }
  }
  if (error == 0) {
    error = batch.Flush();
  }
  const platform::Error closed = file.Close();
  return error != 0 ? error : closed;
}

}  // namespace

bool WriteConversionBatch(window::ProgressWindow& window, RunState& state) {
  std::vector<std::string> lines = {"c:", std::string("cd ") + kTextureFolder};
  for (ListedWad& wad : state.wads) {
    if (!wad.failure.empty()) {
      continue;
    }
    const std::string line = ConverterLine(wad.name);
    if (!IsSafeBatchLine(line)) {
      wad.failure =
          "Not converted, as the name holds a control character that a batch line "
          "cannot carry.";
      continue;
    }
    wad.failure = ClearOldOutput(state.fs, PathsOfWad(wad.name));
    if (wad.failure.empty()) {
      lines.push_back(line);
    }
  }
  if (!state.HasWadsToConvert()) {
    return false;
  }
  lines.emplace_back("exit");
  core::AppendLineToTextBox(window.Text1(), "Beginning conversion ....");
  if (const platform::Error error = WriteBatchFile(state.fs, lines); error != 0) {
    // Best effort: the failure to write is what the run reports, and the next run rewrites it.
    static_cast<void>(
        core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(ConversionBatch(), state.fs));
    RunFailure(window, state, "Cannot write the batch " + ConversionBatch(), error);
    state.FailTheRest("Not converted, as the batch could not be written.");
    return false;
  }
  return true;
}

}  // namespace driver
