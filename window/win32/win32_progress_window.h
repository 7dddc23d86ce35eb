#pragma once

// The progress window drawn with plain Win32 controls, on the thread that uses it.

#include <windows.h>

#include <memory>

#include "platform/platform.h"
#include "window/win32/win32_text_box.h"
#include "window/window_state.h"

namespace window {

// The control ids of the window's children, in the order of their creation. They start above the
// ids that dialog keys send (IDOK for Enter, IDCANCEL for Escape), so that no key acts as Done.
enum Win32ControlId : int {
  kList1Id = 1001,
  kCommand1Id,
  kText3Id,
  kText2Id,
  kFileZ1Id,
  kText1Id,
  kLabel2Id,
  kLabel1DirectoryId,
  kLabel1CountId,
};

class Win32ProgressWindow : public WindowState {
 public:
  // FileZ1 lists folders through `fileSystem`.
  explicit Win32ProgressWindow(platform::FileSystem& fileSystem = platform::NativeFileSystem());
  ~Win32ProgressWindow() override;

  void Refresh() override;
  // Handles what is queued, then waits for more input for at most kIdleWaitMs and handles that.
  void DoEvents() override;
  // Watched unless the form could not be created the last time the window was loaded: a session
  // without a desktop to draw on (such as Wine without a display), where nobody sees the window.
  bool Watched() const override { return formCreated_; }

  // The top-level window while the window is loaded, otherwise null. Its children carry the ids of
  // Win32ControlId.
  HWND Form() const;

 protected:
  bool CreateControls() override;
  void DestroyControls() override;
  void Draw(Control control) override;
  LogBox& Log() override { return text1_; }

 private:
  struct Controls;

  static LRESULT CALLBACK FormProcedure(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
  void HandleQueuedMessages();

  std::unique_ptr<Controls> controls_;
  Win32TextBox text1_;
  // Kept after Unload, so that the program can still tell at its end whether anyone saw the run.
  bool formCreated_ = true;
};

}  // namespace window
