#pragma once

// What the windowed program needs of its toolkit: the application object, the dialog behind the
// core's message box, and the concrete progress window. Each toolkit has one implementation; the
// build links the one of its target.

#include <memory>
#include <string>

#include "window/progress_window.h"

namespace window {

class Application {
 public:
  virtual ~Application() = default;

  // The progress window, used on the thread that started the application.
  virtual ProgressWindow& Window() = 0;
  // Shows `text` in a dialog about a failure that ends the program, where someone can answer one.
  virtual void ReportFailure(const std::string& text) = 0;
};

// Creates the application object (Qt reads its own options from the arguments, so `argc` must
// outlive it) and points the core's message box at the toolkit's dialog until it is destroyed.
std::unique_ptr<Application> StartApplication(int& argc, char** argv);

}  // namespace window
