#include "driver/run_setup.h"

#include <string>

#include "core/file_ops.h"
#include "core/text_box.h"
#include "driver/run_paths.h"
#include "platform/platform.h"

namespace driver {

namespace {

// Written and deleted again to learn whether the logs folder takes files before any converter
// depends on it: the converters' own explanations would be lost with their logs.
constexpr char kProbeName[] = "korvane.tst";
constexpr char kProbeText[] = "Korvane checks that this folder takes files.";

platform::Error OkOr(std::int32_t result) {
  return result == -1 ? 0 : result;
}

void PrepareLogsFolder(window::ProgressWindow& window, RunState& state) {
  const std::string logsFolder = LogsFolder();
  if (core::DetectIfAFileExistsTrueFalseAbs(logsFolder, state.fs) != -1) {
    if (const platform::Error error =
            OkOr(core::MakeDirIfDoesNotExistReturnErrorCodeAbs(logsFolder, state.fs));
        error != 0) {
      RunFailure(window, state, "Cannot make the logs folder " + logsFolder, error);
      state.halted = true;
      return;
    }
  }
  const std::string probe = logsFolder + "\\" + kProbeName;
  const platform::Error written = OkOr(core::StringToFile(kProbeText, probe, state.fs));
  const platform::Error deleted =
      OkOr(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(probe, state.fs));
  if (written != 0 || deleted != 0) {
    RunFailure(window, state, "Cannot write in the logs folder " + logsFolder,
               written != 0 ? written : deleted);
    state.halted = true;
  }
}

}  // namespace

void SetUpRun(window::ProgressWindow& window, RunState& state) {
  const platform::Error errorLogKept =
      OkOr(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(kErrorRunLog, state.fs));
  const platform::Error successLogKept =
      OkOr(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(kSuccessRunLog, state.fs));
  core::SetCHDriveCHDir(kTextureFolder);
  window.Load();
  window.SetText2(platform::CurrentFolder());
  window.Text1().SetText("BEGINNING EXAMINATION ...");
  core::AppendLineToTextBox(window.Text1(), kRuleLine);
  if (errorLogKept != 0) {
    RunFailure(window, state, std::string("Cannot delete the previous run log ") + kErrorRunLog,
               errorLogKept);
  }
  if (successLogKept != 0) {
    RunFailure(window, state, std::string("Cannot delete the previous run log ") + kSuccessRunLog,
               successLogKept);
  }
  PrepareLogsFolder(window, state);
}

}  // namespace driver
