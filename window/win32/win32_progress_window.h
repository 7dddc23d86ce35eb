#pragma once

// The progress window drawn with plain Win32 controls, on the thread that uses it.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "window/file_list.h"
#include "window/progress_window.h"
#include "window/win32/win32_text_box.h"

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

class Win32ProgressWindow : public ProgressWindow {
 public:
  // FileZ1 lists folders through `fileSystem`.
  explicit Win32ProgressWindow(platform::FileSystem& fileSystem = platform::NativeFileSystem());
  ~Win32ProgressWindow() override;
  Win32ProgressWindow(const Win32ProgressWindow&) = delete;
  Win32ProgressWindow& operator=(const Win32ProgressWindow&) = delete;

  void Load() override;
  void Show() override;
  void Refresh() override;
  void Unload() override;
  // Handles what is queued, then waits for more input for at most kIdleWaitMs and handles that.
  void DoEvents() override;
  bool Closed() const override { return closed_; }
  // A Windows session always has a desktop to draw on.
  bool Watched() const override { return true; }

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

  // The top-level window while the window is loaded, otherwise null. Its children carry the ids of
  // Win32ControlId.
  HWND Form() const;

  static constexpr DWORD kIdleWaitMs = 40;

 private:
  struct Controls;

  static LRESULT CALLBACK FormProcedure(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
  void HandleQueuedMessages();
  // Touching a control of an unloaded window loads it, hidden.
  Controls& Loaded();

  platform::FileSystem& fileSystem_;
  std::unique_ptr<Controls> controls_;
  Win32TextBox text1_;
  std::vector<std::string> list1_;
  FileList fileZ1_;
  bool closed_ = false;
};

}  // namespace window
