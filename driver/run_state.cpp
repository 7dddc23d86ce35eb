#include "driver/run_state.h"

#include <algorithm>

#include "core/text_box.h"
#include "driver/stamp_record.h"

namespace driver {

bool RunState::HasWadsToConvert() const {
  return std::any_of(wads.begin(), wads.end(),
                     [](const ListedWad& wad) { return wad.failure.empty(); });
}

void RunState::FailTheRest(const std::string& reason) {
  for (ListedWad& wad : wads) {
    if (wad.failure.empty()) {
      wad.failure = reason;
    }
  }
}

std::string FailureText(const std::string& what, platform::Error error) {
  return what + ": " +
         (error == kLengthOutOfRange ? "it is larger than 2 GiB"
                                     : platform::ErrorDescription(error)) +
         ".";
}

void RunFailure(window::ProgressWindow& window, RunState& state, const std::string& what,
                platform::Error error) {
  core::AppendLineToTextBox(window.Text1(), FailureText(what, error));
  ++state.runFailures;
}

}  // namespace driver
