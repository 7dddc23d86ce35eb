#include "driver/final_report.h"

#include <string>

#include "core/date_text.h"
#include "core/file_ops.h"
#include "core/text_box.h"
#include "driver/converter_run.h"
#include "driver/run_paths.h"
#include "platform/platform.h"

namespace driver {

namespace {

void SaveRunLog(window::ProgressWindow& window, const std::string& runLog) {
  const bool written = core::StringToFile(window.Text1().Text(), runLog) == -1;
  core::AppendLineToTextBox(window.Text1(), (written ? "END OF DATA .. Log written to "
                                                     : "END OF DATA .. Unable to write to log ") +
                                                runLog);
}

void WaitForDone(window::ProgressWindow& window) {
  while (!window::DonePressed && StopReason(window).empty() && window.Watched()) {
    window.DoEvents();
  }
}

}  // namespace

std::string FinishRun(window::ProgressWindow& window, std::int32_t failureCount) {
  core::AppendLineToTextBox(window.Text1(), kRuleLine);
  if (failureCount > 0) {
    SaveRunLog(window, kErrorRunLog);
    window.SetLabel2Visible(true);
    window.SetCommand1Visible(true);
    WaitForDone(window);
  } else {
    core::AppendLineToTextBox(window.Text1(), "Perfect ... All conversion successful! " +
                                                  core::GeneralDateTime(platform::LocalNow()));
    SaveRunLog(window, kSuccessRunLog);
  }
  std::string shown = window.Text1().Text();
  window.Unload();
  return shown;
}

}  // namespace driver
