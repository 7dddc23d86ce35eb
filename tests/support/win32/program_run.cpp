#include "tests/support/program_run.h"

#include <windows.h>

#include <optional>

#include "tests/support/host_files.h"

namespace test_support {

namespace {

HANDLE InheritableFile(const std::filesystem::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.wstring().c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Environment variables set for one child and put back afterwards.
class ChildEnvironment {
 public:
  explicit ChildEnvironment(const std::vector<std::pair<std::string, std::string>>& variables) {
    for (const auto& [name, value] : variables) {
      char old[32768];
      const DWORD length = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
      saved_.emplace_back(name, length > 0 && length < sizeof old
                                    ? std::optional<std::string>(std::string(old, length))
                                    : std::nullopt);
      SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
  }
  ~ChildEnvironment() {
    for (const auto& [name, value] : saved_) {
      SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
    }
  }
  ChildEnvironment(const ChildEnvironment&) = delete;
  ChildEnvironment& operator=(const ChildEnvironment&) = delete;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace

// The command line is the quoted program and the words joined with single spaces: exactly the
// text a user types after the program's name reaches it, quotes and all.
ProgramRun RunProgram(const std::filesystem::path& folder, const std::string& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& scratch,
                      const std::vector<std::pair<std::string, std::string>>& environment) {
  std::string commandLine = "\"" + std::filesystem::absolute(program).string() + "\"";
  for (const std::string& argument : arguments) {
    commandLine += " " + argument;
  }
  ProgramRun run;
  const HANDLE input = InheritableFile("NUL", GENERIC_READ, OPEN_EXISTING);
  const HANDLE out = InheritableFile(scratch / "out", GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE err = InheritableFile(scratch / "err", GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION started{};
  bool ran = false;
  {
    const ChildEnvironment childEnvironment(environment);
    ran = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         folder.string().c_str(), &startup, &started) != 0;
  }
  CloseHandle(input);
  CloseHandle(out);
  CloseHandle(err);
  if (ran) {
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(started.hProcess, &exitCode);
    run.exitCode = static_cast<int>(exitCode);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
  }
  run.out = ReadHostFile(scratch / "out");
  run.err = ReadHostFile(scratch / "err");
  return run;
}

}  // namespace test_support
