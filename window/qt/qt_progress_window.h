#pragma once

// The progress window drawn with Qt Widgets. A QApplication must exist before the window is used.

#include <QTimer>
#include <memory>

#include "platform/platform.h"
#include "window/qt/qt_text_box.h"
#include "window/window_state.h"

class QWidget;

namespace window {

// False on Qt's offscreen and minimal platforms, which draw nowhere: nobody sees the window or
// answers a dialog there.
bool QtPlatformIsSeen();

class QtProgressWindow : public WindowState {
 public:
  // FileZ1 lists folders through `fileSystem`.
  explicit QtProgressWindow(platform::FileSystem& fileSystem = platform::NativeFileSystem());
  ~QtProgressWindow() override;

  void Refresh() override;
  // Handles what is queued, then waits for more events for at most kIdleWaitMs and handles those.
  void DoEvents() override;
  bool Watched() const override;

  // The top-level widget while the window is loaded, otherwise null. Each control is a child
  // named after it ("Text1", "Label1_0", ...).
  QWidget* Form() const;

 protected:
  bool CreateControls() override;
  void DestroyControls() override;
  void Draw(Control control) override;
  LogBox& Log() override { return text1_; }

 private:
  struct Controls;

  std::unique_ptr<Controls> controls_;
  QtTextBox text1_;
  QTimer wake_;
};

}  // namespace window
