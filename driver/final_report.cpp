#include "driver/final_report.h"

#include <string>

#include "core/date_text.h"
#include "core/file_ops.h"
#include "core/text_box.h"
#include "driver/converter_run.h"
#include "driver/examination.h"
#include "driver/run_paths.h"
#include "platform/platform.h"

namespace driver {

namespace {

// Saves `text` as the run log; on failure deletes what part of it stands and keeps the cause.
bool SaveText(RunState& state, const std::string& text, const std::string& runLog) {
  const std::int32_t result = core::StringToFile(text, runLog, state.fs);
  if (result == -1) {
    return true;
  }
  std::string cause = FailureText("Cannot save the run log " + runLog, result);
  if (const std::int16_t killed =
          core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(runLog, state.fs);
      killed != -1) {
    cause += ' ';
    cause += FailureText("What part of it was written stays, as it cannot be deleted", killed);
  }
  state.unsavedLog = cause;
  return false;
}

bool SaveRunLog(window::ProgressWindow& window, RunState& state, const std::string& runLog) {
  const bool written = SaveText(state, window.Text1().Text(), runLog);
  core::AppendLineToTextBox(window.Text1(), (written ? "END OF DATA .. Log written to "
                                                     : "END OF DATA .. Unable to write to log ") +
                                                runLog);
  return written;
}

void WaitForDone(window::ProgressWindow& window) {
  while (!window::DonePressed && StopReason(window).empty() && window.Watched()) {
    window.DoEvents();
  }
}

}  // namespace

std::string FinishRun(window::ProgressWindow& window, RunState& state, std::int32_t failureCount) {
  core::AppendLineToTextBox(window.Text1(), kRuleLine);
  if (failureCount + state.runFailures == 0) {
    core::AppendLineToTextBox(window.Text1(), "Perfect ... All conversion successful! " +
                                                  core::GeneralDateTime(platform::LocalNow()));
    if (!SaveRunLog(window, state, kSuccessRunLog)) {
      ++state.runFailures;
    }
  } else {
    // Set-up deleted it, or the run log already says that it could not: the result adds nothing.
    static_cast<void>(
        core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(kSuccessRunLog, state.fs));
    SaveRunLog(window, state, kErrorRunLog);
  }
  if (failureCount + state.runFailures > 0) {
    window.SetLabel2Visible(true);
    window.SetCommand1Visible(true);
    WaitForDone(window);
  }
  std::string shown = window.Text1().Text();
  window.Unload();
  return shown;
}

void FinishUpToDate(RunState& state) {
  if (!SaveText(state, UpToDateText(state), kSuccessRunLog)) {
    ++state.runFailures;
  }
}

}  // namespace driver
