#pragma once

// What every progress window keeps, whatever draws it: whether it is loaded, shown or closed, the
// texts, the two lists and which controls are visible. The operations of ProgressWindow that only
// change or read this state are implemented here once; a window that draws is told through Draw
// which control to bring up to date. Touching a control of an unloaded window loads it, hidden.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "window/log_box.h"
#include "window/progress_window.h"

namespace window {

// The state of a file list control: the folder and pattern it is pointed at and the names found
// by its last re-read.
struct FileList {
  std::string folder;
  std::string pattern;
  std::vector<std::string> names;
};

class WindowState : public ProgressWindow {
 public:
  // FileZ1 lists folders through `fileSystem`.
  explicit WindowState(platform::FileSystem& fileSystem);
  // A window's controls and log box know the window they belong to.
  WindowState(const WindowState&) = delete;
  WindowState& operator=(const WindowState&) = delete;

  void Load() override;
  void Show() override;
  void Unload() override;
  bool Closed() const override { return state_.closed; }
  void EchoLog(std::function<void(std::string_view)> echo) override { echo_ = std::move(echo); }

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

  // The state as it stands, read without loading the window.
  bool Loaded() const { return state_.loaded; }
  bool Visible() const { return state_.visible; }
  const std::string& Text2() const { return state_.text2; }
  const std::string& Text3() const { return state_.text3; }
  const FileList& FileZ1() const { return state_.fileZ1; }
  bool Label2Visible() const { return state_.label2Visible; }
  bool Command1Visible() const { return state_.command1Visible; }

 protected:
  enum class Control { Form, Text2, Text3, List1, FileZ1, Label2, Command1 };

  // The longest DoEvents waits for an event when nothing is queued.
  static constexpr int kIdleWaitMs = 40;

  // Creates the form and every control at its design-time value, hidden. False where there is no
  // window system to draw on: the window then draws nothing and is not watched (see Watched), so
  // that no wait for Done can hang; it is not closed, for nobody closed it.
  virtual bool CreateControls() = 0;
  virtual void DestroyControls() = 0;
  // Brings `control` up to date with the state: the form is drawn as shown, and List1 has gained
  // one item at its end.
  virtual void Draw(Control control) = 0;
  // The log box, which the window owns with the toolkit's way of showing it.
  virtual LogBox& Log() = 0;

  // The user closed the window through its frame, which hid it.
  void ClosedByFrame();

  const std::vector<std::string>& List1Items() const { return state_.list1; }

 private:
  struct State {
    bool loaded = false;
    bool drawable = false;
    bool visible = false;
    bool closed = false;
    std::string text2;
    std::string text3;
    std::vector<std::string> list1;
    FileList fileZ1;
    bool label2Visible = false;
    bool command1Visible = false;
  };

  platform::FileSystem& fileSystem_;
  std::function<void(std::string_view)> echo_;
  State state_;
};

}  // namespace window
