#include "window/window_state.h"

#include <limits>

#include "window/design.h"

namespace window {

namespace {

// The item at `index`, or the empty string outside 0 .. count - 1.
std::string ItemAt(const std::vector<std::string>& items, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
    return {};
  }
  return items[static_cast<std::size_t>(index)];
}

// The number of items as the controls report it.
std::int32_t ItemCount(const std::vector<std::string>& items) {
  const std::size_t largest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(items.size() < largest ? items.size() : largest);
}

}  // namespace

WindowState::WindowState(platform::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

void WindowState::Load() {
  if (state_.loaded) {
    return;
  }
  state_.loaded = true;
  state_.text2 = design::kText2;
  state_.text3 = design::kText3;
  state_.fileZ1 = FileList{platform::CurrentFolder(), design::kFileZ1Pattern, {}};
  state_.drawable = CreateControls();
  state_.closed = false;
  LogBox& log = Log();
  log.SetText(design::kText1);
  log.Present();
}

void WindowState::Show() {
  Load();
  if (echo_ && !Watched()) {
    Log().Echo(echo_);
  }
  state_.visible = true;
  state_.closed = false;
  Draw(Control::Form);
}

void WindowState::Unload() {
  Log().Reset();
  DestroyControls();
  state_ = State{};
}

core::TextBox& WindowState::Text1() {
  Load();
  return Log();
}

void WindowState::SetText2(const std::string& text) {
  Load();
  state_.text2 = text;
  Draw(Control::Text2);
}

void WindowState::SetText3(const std::string& text) {
  Load();
  state_.text3 = text;
  Draw(Control::Text3);
}

void WindowState::List1AddItem(const std::string& item) {
  Load();
  state_.list1.push_back(item);
  Draw(Control::List1);
}

std::int32_t WindowState::List1ListCount() const {
  return ItemCount(state_.list1);
}

std::string WindowState::List1List(std::int32_t index) const {
  return ItemAt(state_.list1, index);
}

void WindowState::SetFileZ1Path(const std::string& folder) {
  Load();
  state_.fileZ1.folder = folder;
}

void WindowState::SetFileZ1Pattern(const std::string& pattern) {
  Load();
  state_.fileZ1.pattern = pattern;
}

void WindowState::FileZ1Refresh() {
  Load();
  FileList& list = state_.fileZ1;
  std::vector<std::string> names;
  // A folder that cannot be listed gives no names.
  if (fileSystem_.List(list.folder, list.pattern, names) != 0) {
    names.clear();
  }
  list.names = std::move(names);
  Draw(Control::FileZ1);
}

std::int32_t WindowState::FileZ1ListCount() const {
  return ItemCount(state_.fileZ1.names);
}

std::string WindowState::FileZ1List(std::int32_t index) const {
  return ItemAt(state_.fileZ1.names, index);
}

void WindowState::SetLabel2Visible(bool visible) {
  Load();
  state_.label2Visible = visible;
  Draw(Control::Label2);
}

void WindowState::SetCommand1Visible(bool visible) {
  Load();
  state_.command1Visible = visible;
  Draw(Control::Command1);
}

void WindowState::ClosedByFrame() {
  state_.visible = false;
  state_.closed = true;
}

}  // namespace window
