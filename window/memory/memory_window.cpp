#include "window/memory/memory_window.h"

#include <algorithm>
#include <limits>

#include "window/design.h"

namespace window {

namespace {

std::int32_t Clamp(std::int32_t value, std::size_t limit) {
  const auto largest = static_cast<std::int64_t>(
      std::min<std::size_t>(limit, std::numeric_limits<std::int32_t>::max()));
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, largest));
}

}  // namespace

void MemoryTextBox::SetText(std::string text) {
  text_ = std::move(text);
  selStart_ = 0;
  selLength_ = 0;
}

void MemoryTextBox::AppendText(std::string_view addition) {
  text_.append(addition);
}

void MemoryTextBox::SetSelStart(std::int32_t start) {
  selStart_ = Clamp(start, text_.size());
  selLength_ = 0;
}

void MemoryTextBox::SetSelLength(std::int32_t length) {
  selLength_ = Clamp(length, text_.size() - static_cast<std::size_t>(selStart_));
}

MemoryWindow::MemoryWindow(platform::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

void MemoryWindow::Load() {
  if (state_.loaded) {
    return;
  }
  state_ = State{};
  state_.loaded = true;
  state_.text1.SetText(design::kText1);
  state_.text2 = design::kText2;
  state_.text3 = design::kText3;
  state_.fileZ1.folder = platform::CurrentFolder();
  state_.fileZ1.pattern = design::kFileZ1Pattern;
}

void MemoryWindow::Show() {
  Controls().visible = true;
  state_.closed = false;
}

void MemoryWindow::Refresh() {
  ++Controls().refreshCount;
}

void MemoryWindow::Unload() {
  state_ = State{};
}

void MemoryWindow::DoEvents() {
  ++doEventsCount_;
  if (doEventsHook_) {
    doEventsHook_(*this);
  }
}

core::TextBox& MemoryWindow::Text1() {
  return Controls().text1;
}

void MemoryWindow::SetText2(const std::string& text) {
  Controls().text2 = text;
}

void MemoryWindow::SetText3(const std::string& text) {
  Controls().text3 = text;
}

void MemoryWindow::List1AddItem(const std::string& item) {
  Controls().list1.push_back(item);
}

std::int32_t MemoryWindow::List1ListCount() const {
  return ItemCount(state_.list1);
}

std::string MemoryWindow::List1List(std::int32_t index) const {
  return ItemAt(state_.list1, index);
}

void MemoryWindow::SetFileZ1Path(const std::string& folder) {
  Controls().fileZ1.folder = folder;
}

void MemoryWindow::SetFileZ1Pattern(const std::string& pattern) {
  Controls().fileZ1.pattern = pattern;
}

void MemoryWindow::FileZ1Refresh() {
  RereadFileList(Controls().fileZ1, fileSystem_);
}

std::int32_t MemoryWindow::FileZ1ListCount() const {
  return ItemCount(state_.fileZ1.names);
}

std::string MemoryWindow::FileZ1List(std::int32_t index) const {
  return ItemAt(state_.fileZ1.names, index);
}

void MemoryWindow::SetLabel2Visible(bool visible) {
  Controls().label2Visible = visible;
}

void MemoryWindow::SetCommand1Visible(bool visible) {
  Controls().command1Visible = visible;
}

bool MemoryWindow::ClickDone() {
  if (!state_.visible || !state_.command1Visible) {
    return false;
  }
  DonePressed = true;
  return true;
}

void MemoryWindow::CloseByFrame() {
  if (!state_.visible) {
    return;
  }
  state_.visible = false;
  state_.closed = true;
}

MemoryWindow::State& MemoryWindow::Controls() {
  Load();
  return state_;
}

}  // namespace window
