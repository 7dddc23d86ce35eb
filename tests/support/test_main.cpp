#include "tests/support/fresh_process_state.h"

int main(int argc, char** argv) {
  test_support::InitTests(argc, argv);
  return RUN_ALL_TESTS();
}
