// Grows the log box by 20,000 and by 40,000 lines of 60 characters with AppendLineToTextBox, on
// the memory window and on the Qt window (offscreen), and prints the median times of several runs
// with the ratio of 40,000 lines to 20,000 (2 for linear growth) and of Qt to memory. Times are the
// process's processor time, so that other programs on a busy machine disturb them less.

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "core/text_box.h"
#include "window/memory/memory_window.h"
#include "window/qt/qt_progress_window.h"

namespace {

constexpr int kRuns = 9;
constexpr int kLines = 20000;

template <typename Window>
double SecondsToAppend(int lines) {
  Window progress;
  progress.Load();
  progress.Show();
  const std::string line(60, 'x');
  const std::clock_t start = std::clock();
  for (int i = 0; i < lines; ++i) {
    core::AppendLineToTextBox(progress.Text1(), line);
  }
  progress.Refresh();
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

template <typename Window>
double MedianSeconds(int lines) {
  SecondsToAppend<Window>(lines);  // warms the allocator and the font caches
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    times.push_back(SecondsToAppend<Window>(lines));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

struct Row {
  double single;
  double twice;
};

template <typename Window>
Row Measure() {
  return {MedianSeconds<Window>(kLines), MedianSeconds<Window>(2 * kLines)};
}

void Print(const char* name, const Row& row) {
  std::printf("%-8s %12.4f s %12.4f s %10.2f\n", name, row.single, row.twice,
              row.twice / row.single);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  const Row memory = Measure<window::MemoryWindow>();
  const Row qt = Measure<window::QtProgressWindow>();
  std::printf(
      "Text1 grown by AppendLineToTextBox, 60-character lines, processor time, median of %d runs\n",
      kRuns);
  std::printf("%-8s %14s %14s %10s\n", "window", "20000 lines", "40000 lines", "40k / 20k");
  Print("memory", memory);
  Print("qt", qt);
  std::printf("qt / memory at 20000 lines: %.1f\n", qt.single / memory.single);
  std::printf("goal: qt under 1 s for 20000 lines (%s), 40k / 20k under 2.2 (%s)\n",
              qt.single < 1.0 ? "met" : "missed", qt.twice / qt.single < 2.2 ? "met" : "missed");
  return 0;
}
