#include "driver/converter_run.h"

#include "core/date_text.h"
#include "core/paths.h"
#include "core/process_status.h"
#include "core/text_box.h"
#include "driver/run_paths.h"

namespace driver {

namespace {

// Waits for the batch; the window's event turn blocks briefly when idle, so the wait leaves the
// processor to the converters.
void WaitForBatch(window::ProgressWindow& window, std::int32_t processId) {
  bool stopped = false;
  double lastTick = platform::LocalNow();
  bool running = true;
  do {
    if (platform::LocalNow() > lastTick) {
      window.Text1().AppendText("...");
      core::ScrollTextBoxToEnd(window.Text1());
      window.Refresh();
      lastTick = platform::LocalNow();
    }
    window.DoEvents();
    running = core::IsProcessRunning(processId) == -1;
    if (running && !stopped && window.Closed()) {
      platform::StopProcess(processId);
      stopped = true;
    }
  } while (running);
}

}  // namespace

std::string CompletionText(double startTime, double now) {
  return "... COMPLETE: " + core::MinutesSeconds(now - startTime) + " elapsed.";
}

void RunConverter(window::ProgressWindow& window, double startTime, StartFunction start) {
  const std::string batch = ConversionBatch();
  std::int32_t processId = 0;
  if (start(core::Quoted(batch), processId) != 0) {
    processId = 0;
  }
  WaitForBatch(window, processId);

  platform::NativeFileSystem().Delete(batch);
  window.Text1().AppendText(CompletionText(startTime, platform::LocalNow()));
  window.Refresh();
}

}  // namespace driver
