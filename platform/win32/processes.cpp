#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstdint>
#include <cwchar>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/ascii.h"
#include "platform/common/batch_text.h"
#include "platform/platform.h"
#include "platform/win32/ascii_batch.h"
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
  const std::string_view extension = std::string_view(program).substr(program.size() - 4);
  return ascii::SameIgnoringCase(extension, ".bat") || ascii::SameIgnoringCase(extension, ".cmd");
}

std::wstring CommandInterpreter() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return L"cmd.exe";
  }
  return std::wstring(folder, length) + L"\\cmd.exe";
}

// The job object of each started process, by process id: stopping a process ends its job, so
// that every program it started ends with it, however far down. Guarded by jobsLock.
std::map<DWORD, HANDLE>& Jobs() {
  static std::map<DWORD, HANDLE> jobs;
  return jobs;
}
SRWLOCK jobsLock = SRWLOCK_INIT;

// Files `handle` under `id` in `handles`; an id seen before belonged to a process that has ended
// since, and its old handle is closed.
void Keep(std::map<DWORD, HANDLE>& handles, DWORD id, HANDLE handle) {
  AcquireSRWLockExclusive(&jobsLock);
  if (const auto old = handles.find(id); old != handles.end()) {
    CloseHandle(old->second);
    old->second = handle;
  } else {
    handles.emplace(id, handle);
  }
  ReleaseSRWLockExclusive(&jobsLock);
}

// The process handle of each started process, by process id, kept open for as long as this
// program runs: it answers whether that process still runs even where opening it afresh by id
// fails or the id has been given to another process since. Guarded by jobsLock.
std::map<DWORD, HANDLE>& Started() {
  static std::map<DWORD, HANDLE> started;
  return started;
}

// The kept handle of a started process, or null for a process this program did not start.
HANDLE StartedHandle(DWORD id) {
  AcquireSRWLockShared(&jobsLock);
  const auto found = Started().find(id);
  const HANDLE process = found != Started().end() ? found->second : nullptr;
  ReleaseSRWLockShared(&jobsLock);
  return process;
}

HANDLE TakeJob(DWORD id) {
  AcquireSRWLockExclusive(&jobsLock);
  HANDLE job = nullptr;
  if (const auto found = Jobs().find(id); found != Jobs().end()) {
    job = found->second;
    Jobs().erase(found);
  }
  ReleaseSRWLockExclusive(&jobsLock);
  return job;
}

// The folder of the running program, where the programs shipped with it lie.
std::wstring OwnFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return {};
    }
    if (length < path.size()) {
      return std::filesystem::path(std::wstring(path.data(), length)).parent_path().wstring();
    }
    path.resize(path.size() * 2);
  }
}

// Whether `entry` ("NAME=value") starts with `prefix`, ignoring the letter case of A to Z.
bool StartsWith(const std::wstring& entry, std::wstring_view prefix) {
  if (entry.size() < prefix.size()) {
    return false;
  }
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const wchar_t c = entry[i];
    if ((c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c) != prefix[i]) {
      return false;
    }
  }
  return true;
}

// This process's environment with `folder` appended to PATH (unless it is empty) and the entries
// `extra` in place of any of the same kind, as a block for CreateProcessW: each "NAME=value" ends
// in a zero, and the block in one more.
std::wstring ChildEnvironment(const std::wstring& folder, const std::vector<std::wstring>& extra) {
  const std::wstring extraPrefix = win32::Wide(common::kBatchTextVariable);
  std::vector<std::wstring> entries;
  if (wchar_t* block = GetEnvironmentStringsW(); block != nullptr) {
    for (const wchar_t* entry = block; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
      if (!StartsWith(entry, extraPrefix)) {
        entries.emplace_back(entry);
      }
    }
    FreeEnvironmentStringsW(block);
  }
  bool found = folder.empty();
  for (std::wstring& entry : entries) {
    if (!found && StartsWith(entry, L"PATH=")) {
      if (entry.size() > 5 && entry.back() != L';') {
        entry += L';';
      }
      entry += folder;
      found = true;
    }
  }
  if (!found) {
    entries.push_back(L"PATH=" + folder);
  }
  entries.insert(entries.end(), extra.begin(), extra.end());
  std::wstring environment;
  for (const std::wstring& entry : entries) {
    environment += entry;
    environment += L'\0';
  }
  environment += L'\0';
  return environment;
}

// Waits, for a bounded time, until every process of a terminated job has gone.
void WaitForJobToEmpty(HANDLE job) {
  constexpr DWORD kPollMilliseconds = 10;
  for (DWORD waited = 0; waited < kStopWaitMilliseconds; waited += kPollMilliseconds) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                  sizeof accounting, nullptr) == 0 ||
        accounting.ActiveProcesses == 0) {
      return;
    }
    Sleep(kPollMilliseconds);
  }
}

// A job whose processes the system ends when its last handle closes: the handle is kept by this
// program, so that nothing it started outlives it, even when it is killed or crashes.
HANDLE CreateKillingJob() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) {
    return nullptr;
  }
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  return job;
}

// Puts a process created suspended into a job of its own and lets it run. Without a job (where
// the system refuses one) it runs all the same, and stopping it walks its process tree instead.
// A process that cannot be resumed is ended rather than left suspended for ever.
Error RunInJob(const PROCESS_INFORMATION& started) {
  HANDLE job = CreateKillingJob();
  if (job != nullptr && AssignProcessToJobObject(job, started.hProcess) == 0) {
    CloseHandle(job);
    job = nullptr;
  }
  if (ResumeThread(started.hThread) == static_cast<DWORD>(-1)) {
    const Error error = LastError();
    TerminateProcess(started.hProcess, 1);
    if (job != nullptr) {
      CloseHandle(job);
    }
    return error;
  }
  if (job != nullptr) {
    Keep(Jobs(), started.dwProcessId, job);
  }
  return 0;
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
  std::wstring environment;
  if (IsBatchFile(program)) {
    // "/s" takes everything between the outer quotes as it stands, so a quoted batch path with
    // blanks survives; "/d" keeps the user's AutoRun commands out of the hidden run.
    application = CommandInterpreter();
    line = L"cmd.exe /d /s /c \"" + line + L"\"";
    // The programs shipped beside this one (the converter) are found even where they are in
    // neither the batch's folder nor PATH; names beyond ASCII reach cmd.exe through variables.
    const std::vector<std::wstring> texts = win32::MakeBatchAscii(program);
    if (const std::wstring folder = OwnFolder(); !folder.empty() || !texts.empty()) {
      environment = ChildEnvironment(folder, texts);
    }
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  // Suspended until it is in its job, so that nothing it starts escapes the job.
  const DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT;
  if (CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                     nullptr, FALSE, flags, environment.empty() ? nullptr : environment.data(),
                     nullptr, &startup, &started) == 0) {
    return LastError();
  }
  const Error error = RunInJob(started);
  CloseHandle(started.hThread);
  if (error != 0) {
    CloseHandle(started.hProcess);
    return error;
  }
  Keep(Started(), started.dwProcessId, started.hProcess);
  processId = static_cast<std::int32_t>(started.dwProcessId);
  return 0;
}

bool ProcessIsRunning(std::int32_t processId) {
  if (const HANDLE started = StartedHandle(static_cast<DWORD>(processId)); started != nullptr) {
    return WaitForSingleObject(started, 0) == WAIT_TIMEOUT;
  }
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
  const auto root = static_cast<DWORD>(processId);
  if (const HANDLE job = TakeJob(root); job != nullptr) {
    TerminateJobObject(job, 1);
    WaitForJobToEmpty(job);
    CloseHandle(job);
    return;
  }
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  // The tree is taken before anything ends, while each child still names its parent.
  const std::vector<DWORD> descendants = DescendantsOf(root);
  Terminate(root, now);
  for (const DWORD id : descendants) {
    Terminate(id, now);
  }
}

}  // namespace platform
