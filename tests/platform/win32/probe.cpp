// Started by the process tests. "exit N" ends with exit code N; "wait FILE" leaves its console, so
// that it outlives the console's end, writes its process id to FILE and waits to be stopped;
// "start COMMAND" starts COMMAND as Korvane starts its batch and
// waits to be stopped or killed; "lock FILE" takes the run lock on FILE, writes what that gave
// to the file that KORVANE_PROBE_OUT names and, holding the lock, waits to be stopped; anything
// else is written as it came, as the raw argument text, to the file that KORVANE_PROBE_OUT names.

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/platform.h"

int main(int argc, char** argv) {
  const std::string text = platform::ArgumentText(argc, argv);
  if (text.rfind("exit ", 0) == 0) {
    return std::atoi(text.c_str() + 5);
  }
  if (text.rfind("wait ", 0) == 0) {
    FreeConsole();
    std::ofstream(text.substr(5)) << GetCurrentProcessId() << "\n";
    Sleep(INFINITE);
  }
  if (text.rfind("start ", 0) == 0) {
    std::int32_t id = 0;
    if (platform::StartProcess(text.substr(6), id) != 0) {
      return 3;
    }
    Sleep(INFINITE);
  }
  const char* out = std::getenv("KORVANE_PROBE_OUT");
  if (out == nullptr) {
    return 2;
  }
  if (text.rfind("lock ", 0) == 0) {
    platform::RunLock lock;
    const platform::Error error = platform::TakeRunLock(text.substr(5), lock);
    std::ofstream(out, std::ios::binary) << error << "\n";
    if (error == 0) {
      Sleep(INFINITE);
    }
    return 0;
  }
  std::ofstream(out, std::ios::binary) << text;
  return 0;
}
