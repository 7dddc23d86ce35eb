#include <QApplication>

#include "tests/support/fresh_process_state.h"

// Qt windows need an application object; without a display they draw offscreen.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  test_support::InitTests(argc, argv);
  return RUN_ALL_TESTS();
}
