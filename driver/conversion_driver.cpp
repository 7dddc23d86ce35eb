#include "driver/conversion_driver.h"

#include "driver/conversion_batch.h"
#include "driver/examination.h"
#include "driver/final_report.h"
#include "driver/result_collection.h"
#include "driver/run_paths.h"
#include "driver/run_setup.h"
#include "driver/run_state.h"

namespace driver {

RunResult ConversionDriver(window::ProgressWindow& window, StartFunction start,
                           platform::FileSystem& fs) {
  RunState state(fs);
  SetUpRun(window, state);
  ExamineWads(window, state);
  RunResult result;
  if (state.wads.empty() && state.runFailures == 0) {
    FinishUpToDate(state);
    result.failureCount = state.runFailures;
    result.log = UpToDateText(state);
  } else {
    if (state.halted) {
      state.FailTheRest("Not converted, as the run could not go on (see above).");
    } else if (state.HasWadsToConvert() && WriteConversionBatch(window, state)) {
      state.stopped = RunConverter(window, state.startTime, start);
    }
    const std::int32_t wadFailures = CollectResults(window, state);
    result.log = FinishRun(window, state, wadFailures);
    result.failureCount = wadFailures + state.runFailures;
  }
  result.stopped = state.stopped;
  result.unsavedLog = state.unsavedLog;
  return result;
}

}  // namespace driver
