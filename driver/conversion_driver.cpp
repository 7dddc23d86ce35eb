#include "driver/conversion_driver.h"

#include "driver/conversion_batch.h"
#include "driver/examination.h"
#include "driver/final_report.h"
#include "driver/result_collection.h"
#include "driver/run_paths.h"
#include "driver/run_setup.h"

namespace driver {

RunResult ConversionDriver(window::ProgressWindow& window, StartFunction start) {
  SetUpRun(window);
  const Examination examination = ExamineWads(window);
  if (!examination.workToDo) {
    return RunResult{.failureCount = 0, .log = kNothingToConvert};
  }
  WriteConversionBatch(window);
  RunResult result;
  result.stopped = RunConverter(window, examination.startTime, start);
  result.failureCount = CollectResults(window, result.stopped);
  result.log = FinishRun(window, result.failureCount);
  return result;
}

}  // namespace driver
