#include <windows.h>

#include "core/trace.h"
#include "window/application.h"
#include "window/win32/screen_text.h"
#include "window/win32/win32_progress_window.h"

namespace window {

namespace {

constexpr wchar_t kTitle[] = L"Korvane";

void ShowWin32MessageBox(const std::string& text) {
  MessageBoxW(nullptr, ScreenWide(text).c_str(), kTitle, MB_OK);
}

// Win32 needs no application object: the window's thread is the program's one thread.
class Win32Application : public Application {
 public:
  Win32Application() { core::SetMessageBoxHook(ShowWin32MessageBox); }
  ~Win32Application() override { core::SetMessageBoxHook(nullptr); }
  Win32Application(const Win32Application&) = delete;
  Win32Application& operator=(const Win32Application&) = delete;

  ProgressWindow& Window() override { return window_; }

  void ReportFailure(const std::string& text) override {
    MessageBoxW(nullptr, ScreenWide(text).c_str(), kTitle, MB_OK | MB_ICONERROR);
  }

 private:
  Win32ProgressWindow window_;
};

}  // namespace

std::unique_ptr<Application> StartApplication(int& /*argc*/, char** /*argv*/) {
  return std::make_unique<Win32Application>();
}

}  // namespace window
