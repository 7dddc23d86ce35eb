#pragma once

// The progress window without drawing: it keeps every control's state so that tests can run the
// driver and look at what it did. A test plays the user with ClickDone and CloseByFrame, or from a
// hook that runs inside each DoEvents.

#include <functional>

#include "platform/platform.h"
#include "window/log_box.h"
#include "window/window_state.h"

namespace window {

class MemoryWindow : public WindowState {
 public:
  // FileZ1 lists folders through `fileSystem`.
  explicit MemoryWindow(platform::FileSystem& fileSystem = platform::NativeFileSystem());

  void Refresh() override;
  // Runs the hook set by OnDoEvents, if any.
  void DoEvents() override;
  // Watched unless a test says otherwise with SetWatched.
  bool Watched() const override { return watched_; }
  void SetWatched(bool watched) { watched_ = watched; }

  // What a user would do. A click reaches the Done button only while the window is shown and the
  // button is visible; the result tells whether it did. Closing through the frame hides the window.
  bool ClickDone();
  void CloseByFrame();
  void OnDoEvents(std::function<void(MemoryWindow&)> hook) { doEventsHook_ = std::move(hook); }

  const LogBox& Text1Box() const { return text1_; }

 protected:
  bool CreateControls() override { return true; }
  void DestroyControls() override {}
  void Draw(Control /*control*/) override {}
  LogBox& Log() override { return text1_; }

 private:
  LogBox text1_;
  std::function<void(MemoryWindow&)> doEventsHook_;
  bool watched_ = true;
};

}  // namespace window
