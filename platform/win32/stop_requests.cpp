#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace platform {

namespace {

// The first console event caught, 0 before any (CTRL_C_EVENT is 0, so events are kept plus one).
// The handler runs on a thread of its own that the system starts.
volatile LONG caughtEvent = 0;

BOOL WINAPI KeepConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  InterlockedCompareExchange(&caughtEvent, static_cast<LONG>(event) + 1, 0);
  if (event == CTRL_CLOSE_EVENT) {
    // The system ends the program as soon as this returns (or a few seconds later): the handler
    // holds it off, so that the program can stop the batch and save its log before it ends by
    // itself.
    Sleep(INFINITE);
  }
  return TRUE;
}

}  // namespace

void CatchStopRequests() {
  SetConsoleCtrlHandler(KeepConsoleEvent, TRUE);
}

StopRequest CaughtStopRequest() {
  switch (InterlockedCompareExchange(&caughtEvent, 0, 0)) {
    case CTRL_C_EVENT + 1:
      return {"Ctrl+C", 1};
    case CTRL_BREAK_EVENT + 1:
      return {"Ctrl+Break", 1};
    case CTRL_CLOSE_EVENT + 1:
      return {"the console closing", 1};
    default:
      return {};
  }
}

}  // namespace platform
