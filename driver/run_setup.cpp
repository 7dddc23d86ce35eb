#include "driver/run_setup.h"

#include "core/file_ops.h"
#include "core/text_box.h"
#include "driver/run_paths.h"
#include "platform/platform.h"

namespace driver {

void SetUpRun(window::ProgressWindow& window) {
  core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(kErrorRunLog);
  core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(kSuccessRunLog);
  core::SetCHDriveCHDir(kTextureFolder);
  window.Load();
  window.SetText2(platform::CurrentFolder());

  const std::string logsFolder = LogsFolder();
  if (core::DetectIfAFileExistsTrueFalseAbs(logsFolder) != -1) {
    core::MakeDirIfDoesNotExistReturnErrorCodeAbs(logsFolder);
  }
  window.Text1().SetText("BEGINNING EXAMINATION ...");
  core::AppendLineToTextBox(window.Text1(), kRuleLine);
}

}  // namespace driver
