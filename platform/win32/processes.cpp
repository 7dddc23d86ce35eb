#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/text_encoding.h"

namespace platform {

namespace {

Error LastError() {
  const DWORD error = GetLastError();
  return error == 0 ? ERROR_GEN_FAILURE : static_cast<Error>(error);
}

// How long a stopped process tree may take to go.
constexpr DWORD kStopWaitMilliseconds = 5000;

// The program of a command line: its first word, in quotes or up to the first blank.
std::string ProgramOf(const std::string& commandLine) {
  std::size_t start = commandLine.find_first_not_of(" \t");
  if (start == std::string::npos) {
    return {};
  }
  if (commandLine[start] == '"') {
    const std::size_t end = commandLine.find('"', start + 1);
    return commandLine.substr(start + 1, end == std::string::npos ? end : end - start - 1);
  }
  const std::size_t end = commandLine.find_first_of(" \t", start);
  return commandLine.substr(start, end == std::string::npos ? end : end - start);
}

bool IsBatchFile(const std::string& program) {
  if (program.size() < 4) {
    return false;
  }
  std::string extension = program.substr(program.size() - 4);
  for (char& c : extension) {
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return extension == ".bat" || extension == ".cmd";
}

std::wstring CommandInterpreter() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return L"cmd.exe";
  }
  return std::wstring(folder, length) + L"\\cmd.exe";
}

// Every process that `root` started, directly or through others, as the system lists them now.
std::vector<DWORD> DescendantsOf(DWORD root) {
  std::vector<PROCESSENTRY32W> processes;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return {};
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more != 0;
       more = Process32NextW(snapshot, &entry)) {
    processes.push_back(entry);
  }
  CloseHandle(snapshot);
  std::vector<DWORD> tree = {root};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    for (const PROCESSENTRY32W& process : processes) {
      if (process.th32ParentProcessID == tree[i] && process.th32ProcessID != root) {
        tree.push_back(process.th32ProcessID);
      }
    }
  }
  tree.erase(tree.begin());
  return tree;
}

// Ends the process `id` unless it was created after `notAfter`, which would make it a newer
// process that merely reuses the id of an ended child.
void Terminate(DWORD id, const FILETIME& notAfter) {
  const HANDLE process =
      OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
  if (process == nullptr) {
    return;
  }
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  if (GetProcessTimes(process, &created, &exited, &kernel, &user) != 0 &&
      CompareFileTime(&created, &notAfter) <= 0) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kStopWaitMilliseconds);
  }
  CloseHandle(process);
}

}  // namespace

Error StartProcess(const std::string& commandLine, std::int32_t& processId) {
  const std::string program = ProgramOf(commandLine);
  if (program.empty()) {
    return ERROR_FILE_NOT_FOUND;
  }
  std::wstring application;
  std::wstring line = win32::Wide(commandLine);
  if (IsBatchFile(program)) {
    // "/s" takes everything between the outer quotes as it stands, so a quoted batch path with
    // blanks survives; "/d" keeps the user's AutoRun commands out of the hidden run.
    application = CommandInterpreter();
    line = L"cmd.exe /d /s /c \"" + line + L"\"";
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  if (CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                     nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started) == 0) {
    return LastError();
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  processId = static_cast<std::int32_t>(started.dwProcessId);
  return 0;
}

bool ProcessIsRunning(std::int32_t processId) {
  constexpr DWORD kStillActive = 259;
  DWORD exitCode = 0;
  const HANDLE process = OpenProcess(1024, 0, static_cast<DWORD>(processId));
  GetExitCodeProcess(process, &exitCode);
  CloseHandle(process);
  return exitCode == kStillActive;
}

void StopProcess(std::int32_t processId) {
  if (processId <= 0) {
    return;
  }
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const auto root = static_cast<DWORD>(processId);
  // The tree is taken before anything ends, while each child still names its parent.
  const std::vector<DWORD> descendants = DescendantsOf(root);
  Terminate(root, now);
  for (const DWORD id : descendants) {
    Terminate(id, now);
  }
}

}  // namespace platform
