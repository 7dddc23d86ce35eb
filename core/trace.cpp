#include "core/trace.h"

#include <cstdio>
#include <limits>
#include <stdexcept>

namespace core {

std::string Session_TraceText;
std::int16_t Session_TabState = 0;

namespace {

void DefaultMessageBox(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

MessageBoxHook messageBoxHook = DefaultMessageBox;

}  // namespace

void TraceLine(std::string text) {
  if (Session_TabState > 0) {
    Session_TraceText.append(static_cast<std::size_t>(Session_TabState), '\t');
  }
  Session_TraceText += text;
  Session_TraceText += "\r\n";
}

void TraceEnter(std::string name) {
  TraceLine("[ Entered -> " + name + " ..");
  if (Session_TabState == std::numeric_limits<std::int16_t>::max()) {
    throw std::overflow_error("session trace nested deeper than 32767 levels");
  }
  ++Session_TabState;
}

void TraceExit() {
  TraceLine("[Exit]");
  --Session_TabState;
  if (Session_TabState < 0) {
    TraceLine("Session_TabState < 0");
    ShowMessageBox("Session_TabState < 0 !");
    Session_TabState = 0;
  }
}

void SetMessageBoxHook(MessageBoxHook hook) {
  messageBoxHook = hook != nullptr ? hook : DefaultMessageBox;
}

void ShowMessageBox(const std::string& text) {
  messageBoxHook(text);
}

}  // namespace core
