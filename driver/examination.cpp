#include "driver/examination.h"

#include <string>

#include "core/file_ops.h"
#include "core/text_box.h"
#include "driver/run_paths.h"
#include "driver/stamp_record.h"
#include "platform/platform.h"

namespace driver {

namespace {

// A WAD is up to date when its stamp holds the current times and lengths of the WAD and its HL WAD,
// and none of the files is empty.
bool IsUpToDate(const WadPaths& paths) {
  if (core::DetectIfAFileExistsTrueFalseAbs(paths.stampFile) != -1) {
    return false;
  }
  const bool wadExists = core::DetectIfAFileExistsTrueFalseAbs(paths.wadFile) == -1;
  const bool hlwadExists = core::DetectIfAFileExistsTrueFalseAbs(paths.hlwadFile) == -1;
  if (!wadExists || !hlwadExists) {
    return false;
  }
  platform::FileSystem& fs = platform::NativeFileSystem();
  const StampRecord current = CurrentStampRecord(fs, paths.wadFile, paths.hlwadFile);
  const StampRecord stored = ReadStampRecord(fs, paths.stampFile);
  return StampsMatch(stored, current) && stored.WadLength > 0 && stored.HlwadLength > 0 &&
         current.WadLength > 0 && current.HlwadLength > 0;
}

void DecideOne(window::ProgressWindow& window, const std::string& listedName) {
  const WadPaths paths = PathsOfWad(listedName);
  const std::string column = core::FixedWidth(paths.wadFile, 40) + ": ";
  if (IsUpToDate(paths)) {
    core::AppendLineToTextBox(window.Text1(), column + "Ok");
    return;
  }
  core::AppendLineToTextBox(window.Text1(), column + "Convert");
  window.List1AddItem(listedName);
  core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.stampFile);
}

// Files that the listing left out on purpose are counted in the log, so that no ending of the run
// passes over them in silence.
std::string LeftOutLine(std::int32_t count) {
  return std::to_string(count) + (count == 1 ? " file" : " files") +
         " left out: " + platform::kLeftOutNames;
}

}  // namespace

Examination ExamineWads(window::ProgressWindow& window) {
  Examination result;
  window.SetFileZ1Path(platform::CurrentFolder());
  window.SetFileZ1Pattern("*.wad");
  window.FileZ1Refresh();
  result.startTime = platform::LocalNow();
  window.DoEvents();

  const std::int32_t listed = window.FileZ1ListCount();
  core::AppendLineToTextBox(window.Text1(),
                            "Number of Quake WADS found = " + std::to_string(listed));
  const std::int32_t leftOut = window.FileZ1LeftOutCount();
  if (leftOut > 0) {
    core::AppendLineToTextBox(window.Text1(), LeftOutLine(leftOut));
  }
  for (std::int32_t index = 0; index < listed; ++index) {
    DecideOne(window, window.FileZ1List(index));
  }

  const std::int32_t toConvert = window.List1ListCount();
  if (toConvert == 0) {
    window.Unload();
    result.log = kNothingToConvert;
    if (leftOut > 0) {
      result.log += "\r\n" + LeftOutLine(leftOut);
    }
    core::StringToFile(result.log, kSuccessRunLog);
    return result;
  }
  window.Show();
  window.Refresh();
  window.SetText3(std::to_string(toConvert));
  core::AppendLineToTextBox(window.Text1(), kRuleLine);
  core::AppendLineToTextBox(window.Text1(),
                            "Number of WADs to Convert  = " + std::to_string(toConvert));
  result.workToDo = true;
  return result;
}

}  // namespace driver
