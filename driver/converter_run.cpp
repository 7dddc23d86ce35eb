#include "driver/converter_run.h"

#include "core/date_text.h"
#include "core/file_ops.h"
#include "core/paths.h"
#include "core/process_status.h"
#include "core/text_box.h"
#include "driver/run_paths.h"

namespace driver {

namespace {

// Waits for the batch; the window's event turn blocks briefly when idle, so the wait leaves the
// processor to the converters. Returns why it stopped the batch, or an empty text.
std::string WaitForBatch(window::ProgressWindow& window, std::int32_t processId) {
  std::string stopped;
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
    if (running && stopped.empty()) {
      stopped = StopReason(window);
      if (!stopped.empty()) {
        platform::StopProcess(processId);
      }
    }
  } while (running);
  return stopped;
}

// The converter writes each HL WAD under a temporary name and renames it when done: a stopped run
// leaves it half-written, and a run killed outright leaves it for the next conversion of the WAD.
void DeleteHalfWrittenFiles(window::ProgressWindow& window) {
  const std::int32_t count = window.List1ListCount();
  for (std::int32_t index = 0; index < count; ++index) {
    // Best effort: a temporary file left behind is overwritten by the WAD's next conversion.
    static_cast<void>(core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(
        PathsOfWad(window.List1List(index)).hlwadFile + ".tmp"));
  }
}

}  // namespace

std::string CompletionText(double startTime, double now) {
  return "... COMPLETE: " + core::MinutesSeconds(now - startTime) + " elapsed.";
}

std::string StoppedText(double startTime, double now, const std::string& reason) {
  return "... STOPPED after " + core::MinutesSeconds(now - startTime) + ": " + reason + ".";
}

std::string StopReason(const window::ProgressWindow& window) {
  if (window.Closed()) {
    return "the window was closed";
  }
  const platform::StopRequest request = platform::CaughtStopRequest();
  return request.name.empty() ? std::string() : "Korvane received " + request.name;
}

bool RunConverter(window::ProgressWindow& window, double startTime, StartFunction start) {
  const std::string batch = ConversionBatch();
  std::string stopped = StopReason(window);
  if (stopped.empty()) {
    std::int32_t processId = 0;
    if (start(core::Quoted(batch), processId) != 0) {
      processId = 0;
    }
    stopped = WaitForBatch(window, processId);
  }

  // Best effort: every run writes the batch anew.
  static_cast<void>(platform::NativeFileSystem().Delete(batch));
  DeleteHalfWrittenFiles(window);
  const double now = platform::LocalNow();
  window.Text1().AppendText(stopped.empty() ? CompletionText(startTime, now)
                                            : StoppedText(startTime, now, stopped));
  window.Refresh();
  return !stopped.empty();
}

}  // namespace driver
