#include "driver/result_collection.h"

#include <string>

#include "core/file_ops.h"
#include "core/text_box.h"
#include "driver/run_paths.h"
#include "driver/stamp_record.h"
#include "platform/platform.h"

namespace driver {

namespace {

// The converter's line that counts the bytes of the WAD its HL WAD does not carry over: lumps that
// are not textures, the palette, their directory entries.
constexpr char kNotCarriedOver[] = "Not carried over: ";

struct Judgement {
  // Why the WAD failed, when the log alone does not say; empty on success.
  std::string cause;
  bool failed = true;
  std::string logText;
  StampRecord stamp;
};

// The byte count of the converter's last "Not carried over" line, or 0.
std::int64_t BytesNotCarriedOver(const std::string& logText) {
  const std::size_t at = logText.rfind(kNotCarriedOver);
  if (at == std::string::npos || (at > 0 && logText[at - 1] != '\n')) {
    return 0;
  }
  std::int64_t bytes = 0;
  for (std::size_t k = at + sizeof kNotCarriedOver - 1;
       k < logText.size() && logText[k] >= '0' && logText[k] <= '9' && bytes < (1LL << 40); ++k) {
    bytes = bytes * 10 + (logText[k] - '0');
  }
  return bytes;
}

// A HL WAD shorter than what the WAD gives it was cut off: every texture grows when converted,
// so only what the converter says it did not carry over may be missing.
std::string SizeRuleCause(const WadPaths& paths, const ListedWad& wad, std::int32_t hlwadLength,
                          const std::string& logText) {
  const std::int64_t leftOut = BytesNotCarriedOver(logText);
  const std::int64_t least = leftOut < wad.length ? wad.length - leftOut : 0;
  if (hlwadLength > 0 && hlwadLength >= least) {
    return {};
  }
  const std::string expected =
      leftOut > 0 ? std::to_string(least) + " bytes (the WAD's " + std::to_string(wad.length) +
                        " less the " + std::to_string(leftOut) + " the converter left out)"
                  : "the WAD's " + std::to_string(wad.length) + " bytes";
  return paths.hlwadFile + " is cut short: it holds " + std::to_string(hlwadLength) +
         " bytes, fewer than " + expected + ".";
}

// The converter left neither output nor a word in its log: where the log could not even be
// written, the converter's own explanation was lost with it, so the driver writes there itself to
// learn the system's reason. Empty when the log can be written.
std::string WhyNoLog(platform::FileSystem& fs, const WadPaths& paths) {
  const std::int32_t written =
      core::StringToFile("Korvane could not find the converter's output.", paths.conversionLog, fs);
  // Only a probe: a line left behind is deleted with the rest of the old output next time.
  static_cast<void>(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.conversionLog, fs));
  return written == -1
             ? std::string()
             : "No log exists. " +
                   FailureText("The converter's log " + paths.conversionLog + " cannot be written",
                               written);
}

Judgement Judge(platform::FileSystem& fs, const WadPaths& paths, const ListedWad& wad) {
  Judgement judgement;
  const bool logExists = core::DetectIfAFileExistsTrueFalseAbs(paths.conversionLog, fs) == -1;
  if (logExists) {
    judgement.logText = core::StringFromFile(paths.conversionLog, fs);
  }
  const bool hlwadExists = core::DetectIfAFileExistsTrueFalseAbs(paths.hlwadFile, fs) == -1;
  if (judgement.logText.empty() && !hlwadExists) {
    judgement.cause = WhyNoLog(fs, paths);
  }
  if (!logExists || !hlwadExists) {
    return judgement;
  }
  double wadTime = 0;
  std::int32_t wadLength = 0;
  if (const platform::Error error = FileTimeAndLength(fs, paths.wadFile, wadTime, wadLength);
      error != 0) {
    judgement.cause = FailureText("Cannot read the time and length of " + paths.wadFile, error);
    return judgement;
  }
  if (wadTime != wad.time || wadLength != wad.length) {
    judgement.cause = paths.wadFile +
                      " changed during the conversion; it will be converted again on the next run.";
    return judgement;
  }
  StampRecord& stamp = judgement.stamp;
  if (const platform::Error error =
          FileTimeAndLength(fs, paths.hlwadFile, stamp.HlwadTime, stamp.HlwadLength);
      error != 0) {
    judgement.cause = FailureText("Cannot read the time and length of " + paths.hlwadFile, error);
    return judgement;
  }
  stamp.WadTime = wad.time;
  stamp.WadLength = wad.length;
  SetStampText(fs, stamp, paths.wadFile, paths.hlwadFile);
  if (judgement.logText.find("** ERROR **") != std::string::npos) {
    return judgement;
  }
  judgement.cause = SizeRuleCause(paths, wad, stamp.HlwadLength, judgement.logText);
  judgement.failed = !judgement.cause.empty();
  return judgement;
}

// Reports the failure; the HL WAD goes unless the WAD failed before the batch, when it is not
// this run's to delete.
void ReportFailure(window::ProgressWindow& window, RunState& state, const WadPaths& paths,
                   const Judgement& judgement, std::int32_t failureCount, bool deleteHlwad) {
  core::TextBox& log = window.Text1();
  if (failureCount == 1) {
    core::AppendLineToTextBox(log, kRuleLine);
    core::AppendLineToTextBox(log, "=  ERRORS DETECTED BY WCONV UTILITY - SEE BELOW =");
    core::AppendLineToTextBox(log, kRuleLine);
  }
  log.AppendText("\r\n\r\nError creating HLWAD: " + paths.hlwadFile + " ... details ...");
  if (!judgement.cause.empty()) {
    log.AppendText("\r\n" + judgement.cause);
  }
  if (!judgement.logText.empty()) {
    log.AppendText("\r\n\r\n" + judgement.logText);
  } else if (judgement.cause.empty()) {
    log.AppendText("No log exists.");
  }
  if (deleteHlwad) {
    if (const std::int16_t killed =
            core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.hlwadFile, state.fs);
        killed != -1) {
      log.AppendText(
          "\r\n" +
          FailureText("The failed " + paths.hlwadFile + " stays, as it cannot be deleted", killed));
    }
  }
  core::ScrollTextBoxToEnd(log);
}

// Stamps a verified conversion; the cause of the failure when the stamp cannot be written whole.
std::string RecordSuccess(window::ProgressWindow& window, RunState& state, const WadPaths& paths,
                          const StampRecord& stamp) {
  if (const platform::Error error = WriteStampRecord(state.fs, paths.stampFile, stamp);
      error != 0) {
    // Best effort: the WAD is reported as failed either way, and a short stamp matches no file.
    static_cast<void>(
        core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.stampFile, state.fs));
    return FailureText("Cannot write the stamp " + paths.stampFile, error);
  }
  // Best effort: a log left behind is deleted with the rest of the old output next time.
  static_cast<void>(
      core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.conversionLog, state.fs));
  core::AppendLineToTextBox(window.Text1(), "Conversion successful for " + paths.hlwadFile);
  core::ScrollTextBoxToEnd(window.Text1());
  return {};
}

}  // namespace

std::int32_t CollectResults(window::ProgressWindow& window, RunState& state) {
  std::int32_t failureCount = 0;
  for (const ListedWad& wad : state.wads) {
    const WadPaths paths = PathsOfWad(wad.name);
    if (!wad.failure.empty()) {
      Judgement early;
      early.cause = wad.failure;
      ReportFailure(window, state, paths, early, ++failureCount, false);
      continue;
    }
    Judgement judgement = Judge(state.fs, paths, wad);
    // A failure the converter did not report, in a stopped run: the stop cut the WAD short or
    // never reached it.
    if (judgement.failed && state.stopped &&
        judgement.logText.find("** ERROR **") == std::string::npos) {
      judgement.cause = "Not converted because the run was stopped.";
    }
    if (!judgement.failed) {
      judgement.cause = RecordSuccess(window, state, paths, judgement.stamp);
      judgement.failed = !judgement.cause.empty();
    }
    if (judgement.failed) {
      ReportFailure(window, state, paths, judgement, ++failureCount, true);
    }
  }
  return failureCount;
}

}  // namespace driver
