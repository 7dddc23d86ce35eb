#include "window/memory/memory_window.h"

namespace window {

MemoryWindow::MemoryWindow(platform::FileSystem& fileSystem)
    : WindowState(fileSystem), text1_([this] { Load(); }) {}

void MemoryWindow::Refresh() {
  Load();
}

void MemoryWindow::DoEvents() {
  if (doEventsHook_) {
    doEventsHook_(*this);
  }
}

bool MemoryWindow::ClickDone() {
  if (!Visible() || !Command1Visible()) {
    return false;
  }
  DonePressed = true;
  return true;
}

void MemoryWindow::CloseByFrame() {
  if (Visible()) {
    ClosedByFrame();
  }
}

}  // namespace window
