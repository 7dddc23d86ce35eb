#pragma once

// The progress window without drawing: it keeps every control's state so that tests can run the
// driver and look at what it did. A test plays the user with ClickDone and CloseByFrame, or from a
// hook that runs inside each DoEvents.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "window/file_list.h"
#include "window/progress_window.h"

namespace window {

class MemoryTextBox : public core::TextBox {
 public:
  const std::string& Text() const override { return text_; }
  // Puts the caret before the first character, as replacing a text box's text does.
  void SetText(std::string text) override;
  // Leaves the caret and the selection where they were.
  void AppendText(std::string_view addition) override;
  // Negative positions and lengths count as 0; both are cut to the text.
  void SetSelStart(std::int32_t start) override;
  void SetSelLength(std::int32_t length) override;

  std::int32_t SelStart() const { return selStart_; }
  std::int32_t SelLength() const { return selLength_; }

 private:
  std::string text_;
  std::int32_t selStart_ = 0;
  std::int32_t selLength_ = 0;
};

class MemoryWindow : public ProgressWindow {
 public:
  // FileZ1 lists folders through `fileSystem`.
  explicit MemoryWindow(platform::FileSystem& fileSystem = platform::NativeFileSystem());

  void Load() override;
  void Show() override;
  void Refresh() override;
  void Unload() override;
  // Runs the hook set by OnDoEvents, if any.
  void DoEvents() override;
  bool Closed() const override { return state_.closed; }
  // Watched unless a test says otherwise with SetWatched.
  bool Watched() const override { return watched_; }
  void SetWatched(bool watched) { watched_ = watched; }

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

  // What a user would do. A click reaches the Done button only while the window is shown and the
  // button is visible; the result tells whether it did. Closing through the frame hides the window.
  bool ClickDone();
  void CloseByFrame();
  void OnDoEvents(std::function<void(MemoryWindow&)> hook) { doEventsHook_ = std::move(hook); }

  bool Loaded() const { return state_.loaded; }
  bool Visible() const { return state_.visible; }
  const MemoryTextBox& Text1Box() const { return state_.text1; }
  const std::string& Text2() const { return state_.text2; }
  const std::string& Text3() const { return state_.text3; }
  const FileList& FileZ1() const { return state_.fileZ1; }
  bool Label2Visible() const { return state_.label2Visible; }
  bool Command1Visible() const { return state_.command1Visible; }
  std::int32_t RefreshCount() const { return state_.refreshCount; }
  std::int32_t DoEventsCount() const { return doEventsCount_; }

 private:
  // Every control at its design-time value, as Load creates them.
  struct State {
    bool loaded = false;
    bool visible = false;
    bool closed = false;
    MemoryTextBox text1;
    std::string text2;
    std::string text3;
    std::vector<std::string> list1;
    FileList fileZ1;
    bool label2Visible = false;
    bool command1Visible = false;
    std::int32_t refreshCount = 0;
  };

  // Touching a control of an unloaded window loads it, hidden.
  State& Controls();

  platform::FileSystem& fileSystem_;
  State state_;
  std::function<void(MemoryWindow&)> doEventsHook_;
  std::int32_t doEventsCount_ = 0;
  bool watched_ = true;
};

}  // namespace window
