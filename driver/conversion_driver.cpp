#include "driver/conversion_driver.h"

#include "driver/conversion_batch.h"
#include "driver/examination.h"
#include "driver/final_report.h"
#include "driver/result_collection.h"
#include "driver/run_setup.h"

namespace driver {

void ConversionDriver(window::ProgressWindow& window, StartFunction start) {
  SetUpRun(window);
  const Examination examination = ExamineWads(window);
  if (!examination.workToDo) {
    return;
  }
  WriteConversionBatch(window);
  const ConverterRun run = RunConverter(window, examination.startTime, start);
  FinishRun(window, CollectResults(window, run));
}

}  // namespace driver
