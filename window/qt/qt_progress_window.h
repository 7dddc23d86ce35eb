#pragma once

// The progress window drawn with Qt Widgets. A QApplication must exist before the window is used.

#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "window/file_list.h"
#include "window/progress_window.h"
#include "window/qt/qt_text_box.h"

class QWidget;

namespace window {

// False on Qt's offscreen and minimal platforms, which draw nowhere: nobody sees the window or
// answers a dialog there.
bool QtPlatformIsSeen();

class QtProgressWindow : public ProgressWindow {
 public:
  // FileZ1 lists folders through `fileSystem`.
  explicit QtProgressWindow(platform::FileSystem& fileSystem = platform::NativeFileSystem());
  ~QtProgressWindow() override;
  QtProgressWindow(const QtProgressWindow&) = delete;
  QtProgressWindow& operator=(const QtProgressWindow&) = delete;

  void Load() override;
  void Show() override;
  void Refresh() override;
  void Unload() override;
  // Handles what is queued, then waits for more events for at most kIdleWaitMs and handles those.
  void DoEvents() override;
  bool Closed() const override { return closed_; }
  bool Watched() const override;

  core::TextBox& Text1() override;
  void SetText2(const std::string& text) override;
  void SetText3(const std::string& text) override;

  void List1AddItem(const std::string& item) override;
  std::int32_t List1ListCount() const override;
  std::string List1List(std::int32_t index) const override;

  void SetFileZ1Path(const std::string& folder) override;
  void SetFileZ1Pattern(const std::string& pattern) override;
  void FileZ1Refresh() override;
  std::int32_t FileZ1ListCount() const override;
  std::string FileZ1List(std::int32_t index) const override;

  void SetLabel2Visible(bool visible) override;
  void SetCommand1Visible(bool visible) override;

  // The top-level widget while the window is loaded, otherwise null. Each control is a child
  // named after it ("Text1", "Label1_0", ...).
  QWidget* Form() const;

  static constexpr int kIdleWaitMs = 40;

 private:
  struct Controls;

  // Touching a control of an unloaded window loads it, hidden.
  Controls& Loaded();

  platform::FileSystem& fileSystem_;
  std::unique_ptr<Controls> controls_;
  QtTextBox text1_;
  std::vector<std::string> list1_;
  FileList fileZ1_;
  bool closed_ = false;
  QTimer wake_;
};

}  // namespace window
