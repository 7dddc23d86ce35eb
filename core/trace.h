#pragma once

// The session trace: an in-memory record of what the file-system routines did, one line per event,
// indented by one tab per nesting level. It is never written out or shown.

#include <cstdint>
#include <string>

namespace core {

extern std::string Session_TraceText;
extern std::int16_t Session_TabState;

// Appends one line holding `text` at the current depth.
void TraceLine(std::string text);
// Appends "[ Entered -> NAME .." and goes one level deeper. At depth 32767 the line is appended and
// std::overflow_error is thrown; the depth stays.
void TraceEnter(std::string name);
// Appends "[Exit]" and goes one level back. Falling below depth 0 adds the line
// "Session_TabState < 0", shows the message box "Session_TabState < 0 !" and resets the depth to 0.
void TraceExit();

// The modal message box of the library. The default writes the text as one line to standard error;
// a windowed program installs a real dialog. Passing nullptr restores the default.
using MessageBoxHook = void (*)(const std::string& text);
void SetMessageBoxHook(MessageBoxHook hook);
void ShowMessageBox(const std::string& text);

}  // namespace core
