#include "driver/result_collection.h"

#include <string>

#include "core/file_ops.h"
#include "core/text_box.h"
#include "driver/run_paths.h"
#include "driver/stamp_record.h"
#include "platform/platform.h"

namespace driver {

namespace {

struct Judgement {
  bool failed = true;
  std::string logText;
  StampRecord stamp;
};

Judgement Judge(const WadPaths& paths) {
  Judgement judgement;
  if (core::DetectIfAFileExistsTrueFalseAbs(paths.conversionLog) == -1) {
    judgement.logText = core::StringFromFile(paths.conversionLog);
  }
  const bool logExists = core::DetectIfAFileExistsTrueFalseAbs(paths.conversionLog) == -1;
  const bool hlwadExists = core::DetectIfAFileExistsTrueFalseAbs(paths.hlwadFile) == -1;
  if (!logExists || !hlwadExists) {
    return judgement;
  }
  platform::FileSystem& fs = platform::NativeFileSystem();
  StampRecord& stamp = judgement.stamp;
  stamp = CurrentStampRecord(fs, paths.wadFile, paths.hlwadFile);
  SetStampText(fs, stamp, paths.wadFile, paths.hlwadFile);
  judgement.failed = !(stamp.HlwadLength > 0 && stamp.HlwadLength >= stamp.WadLength &&
                       judgement.logText.find("** ERROR **") == std::string::npos);
  return judgement;
}

// In a stopped run (`stopped`) a failure without the converter's error marker is a WAD that the
// stop cut short or never reached: it says so, followed by what the converter wrote of it.
void ReportFailure(window::ProgressWindow& window, const WadPaths& paths,
                   const std::string& logText, std::int32_t failureCount, bool stopped) {
  core::TextBox& log = window.Text1();
  if (failureCount == 1) {
    core::AppendLineToTextBox(log, kRuleLine);
    core::AppendLineToTextBox(log, "=  ERRORS DETECTED BY WCONV UTILITY - SEE BELOW =");
    core::AppendLineToTextBox(log, kRuleLine);
  }
  log.AppendText("\r\n\r\nError creating HLWAD: " + paths.hlwadFile + " ... details ...");
  const std::string shownLog = logText.empty() ? std::string() : "\r\n\r\n" + logText;
  if (stopped && logText.find("** ERROR **") == std::string::npos) {
    log.AppendText("Not converted because the run was stopped." + shownLog);
  } else {
    log.AppendText(logText.empty() ? "No log exists." : shownLog);
  }
  core::ScrollTextBoxToEnd(log);
  core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.hlwadFile);
}

void RecordSuccess(window::ProgressWindow& window, const WadPaths& paths,
                   const StampRecord& stamp) {
  core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.conversionLog);
  WriteStampRecord(platform::NativeFileSystem(), paths.stampFile, stamp);
  core::AppendLineToTextBox(window.Text1(), "Conversion successful for " + paths.hlwadFile);
  core::ScrollTextBoxToEnd(window.Text1());
}

}  // namespace

std::int32_t CollectResults(window::ProgressWindow& window, bool stopped) {
  std::int32_t failureCount = 0;
  const std::int32_t count = window.List1ListCount();
  for (std::int32_t index = 0; index < count; ++index) {
    const WadPaths paths = PathsOfWad(window.List1List(index));
    const Judgement judgement = Judge(paths);
    if (judgement.failed) {
      ReportFailure(window, paths, judgement.logText, ++failureCount, stopped);
    } else {
      RecordSuccess(window, paths, judgement.stamp);
    }
  }
  return failureCount;
}

}  // namespace driver
