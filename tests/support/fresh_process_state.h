#pragma once

#include <gtest/gtest.h>

namespace test_support {

// Puts the process-wide state that the libraries keep (the Done button's flag, the session trace
// and its depth, the message box hook) back to a starting program's before each test, so that no
// test depends on the ones run before it.
class FreshProcessState : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo& test) override;
};

// Initialises GoogleTest with the listener above; each test program's main starts with it.
void InitTests(int& argc, char** argv);

}  // namespace test_support
