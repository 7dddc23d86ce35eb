#pragma once

// What one run knows about its WADs from the examination to the final report, and the failures
// that are the run's own rather than one WAD's.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "window/progress_window.h"

namespace driver {

// A WAD the run converts or fails.
struct ListedWad {
  // The bare name as listed, in its letter case on disk.
  std::string name;
  // The WAD's time and length read before the batch: what the converter reads, and what its stamp
  // records.
  double time = 0;
  std::int32_t length = 0;
  // Why it failed before the converter ran; such a WAD gets no batch line and none of its files is
  // touched afterwards. Empty while it may convert.
  std::string failure;
};

struct RunState {
  explicit RunState(platform::FileSystem& files) : fs(files) {}

  // Every file operation of the run goes through this file system.
  platform::FileSystem& fs;
  // Clock reading before the listing: the origin of the elapsed time of the converter run.
  double startTime = 0;
  // Files matching the pattern that the listing left out for their names (platform::kLeftOutNames).
  std::size_t leftOut = 0;
  // The WADs to convert, and the ones failed at the examination, in listing order.
  std::vector<ListedWad> wads;
  // Failures of the run itself: a folder or file it needs cannot be listed, made or written.
  std::int32_t runFailures = 0;
  // A failure that makes converting pointless (no listing, no logs folder): no batch runs.
  bool halted = false;
  // The batch was stopped (closed window, stop request) before it had ended by itself.
  bool stopped = false;
  // Why the run log could not be saved, for the user to see elsewhere; empty when it was saved.
  std::string unsavedLog;

  bool HasWadsToConvert() const;
  // Fails, with `reason`, every WAD that has not failed yet.
  void FailTheRest(const std::string& reason);
};

// "<what>: <the system's reason>." as one line of the run log.
std::string FailureText(const std::string& what, platform::Error error);
// Adds FailureText to the run log and counts it as a failure of the run.
void RunFailure(window::ProgressWindow& window, RunState& state, const std::string& what,
                platform::Error error);

}  // namespace driver
