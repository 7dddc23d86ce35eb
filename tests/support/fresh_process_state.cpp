#include "tests/support/fresh_process_state.h"

#include "core/trace.h"
#include "window/progress_window.h"

namespace test_support {

void FreshProcessState::OnTestStart(const testing::TestInfo&) {
  window::DonePressed = false;
  core::Session_TraceText.clear();
  core::Session_TabState = 0;
  core::SetMessageBoxHook(nullptr);
}

void InitTests(int& argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new FreshProcessState);
}

}  // namespace test_support
