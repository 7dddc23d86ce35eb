#include "shell/interpreter.h"

#include <cerrno>

#include "shell/batch_line.h"

namespace shell {

namespace {

// korvane-cmd runs on POSIX only, so the platform's error numbers are errno values.
std::string Explanation(platform::Error error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "The system cannot find the path specified.";
    case ENODEV:
      return "The system cannot find the drive specified.";
    case EACCES:
    case EPERM:
      return "Access is denied.";
    default:
      return platform::ErrorDescription(error) + ".";
  }
}

// Where the messages of one line go: its redirect target when it has one, else the interpreter's
// own standard output. Each message is one line ending in CR LF, as cmd.exe writes them.
class LineOutput {
 public:
  explicit LineOutput(Interpreter& interpreter) : interpreter_(interpreter) {}
  // What was written is in the file already; whoever reads the target finds a line that is missing.
  ~LineOutput() { static_cast<void>(interpreter_.fs.Close(file_)); }
  LineOutput(const LineOutput&) = delete;
  LineOutput& operator=(const LineOutput&) = delete;

  platform::File& file() { return file_; }

  void Say(const std::string& message) {
    const std::string line = message + "\r\n";
    if (file_.handle != -1) {
      // A line that cannot be written has nowhere else to go; its reader finds it missing.
      static_cast<void>(interpreter_.fs.Write(file_, line.data(), line.size()));
    } else {
      interpreter_.out << line << std::flush;
    }
  }

 private:
  Interpreter& interpreter_;
  platform::File file_;
};

void ChangeDrive(char drive, Interpreter& interpreter) {
  if (platform::ChangeDrive(drive) != 0) {
    LineOutput(interpreter).Say("The system cannot find the drive specified.");
  }
}

void ChangeFolder(const std::string& folder, Interpreter& interpreter) {
  LineOutput output(interpreter);
  if (folder.empty()) {
    output.Say(platform::CurrentFolder());
  } else if (const platform::Error error = platform::ChangeFolder(folder); error != 0) {
    output.Say(Explanation(error));
  }
}

void RunProgram(const ProgramRun& run, LineOutput& output, Interpreter& interpreter) {
  const std::string found = FindProgram(interpreter.fs, run.program, interpreter.places);
  if (found.empty()) {
    output.Say("'" + run.program +
               "' is not recognized as an internal or external command, operable program or batch "
               "file.");
    return;
  }
  std::string program;
  if (const platform::Error error = platform::HostPath(found, program); error != 0) {
    output.Say(Explanation(error));
    return;
  }
  std::vector<std::string> arguments = run.arguments;
  if (IsWindowsProgram(interpreter.fs, found)) {
    const std::string wine = FindOnPath(interpreter.fs, "wine", interpreter.places.pathFolders);
    if (wine.empty()) {
      output.Say("'" + run.program + "' is a Windows program, and wine is not on PATH to run it.");
      return;
    }
    arguments.insert(arguments.begin(), program);
    if (const platform::Error error = platform::HostPath(wine, program); error != 0) {
      output.Say(Explanation(error));
      return;
    }
  }
  interpreter.out.flush();
  if (const platform::Error error = interpreter.run(program, arguments, output.file());
      error != 0) {
    output.Say("'" + run.program + "' cannot be run: " + platform::ErrorDescription(error) + ".");
  }
}

void RunProgramLine(const ProgramRun& run, Interpreter& interpreter) {
  LineOutput output(interpreter);
  if (run.redirected) {
    // cmd.exe opens the target before it looks for the program, so even a program that cannot be
    // found leaves an emptied target holding the explanation.
    if (run.target.empty()) {
      output.Say("The syntax of the command is incorrect.");
      return;
    }
    if (const platform::Error error = interpreter.fs.Create(run.target, output.file());
        error != 0) {
      output.Say(Explanation(error));
      return;
    }
  }
  if (!run.program.empty()) {
    RunProgram(run, output, interpreter);
  }
}

}  // namespace

platform::Error ReadBatchFile(platform::FileSystem& fs, const std::string& path,
                              std::string& text) {
  platform::OwnedFile file(fs);
  platform::Error error = fs.OpenRead(path, file.get());
  text.clear();
  char buffer[64 * 1024];
  std::size_t got = 1;
  while (error == 0 && got > 0) {
    error = fs.Read(file.get(), buffer, sizeof buffer, got);
    text.append(buffer, error == 0 ? got : 0);
  }
  return error;
}

void RunBatch(const std::vector<std::string>& lines, Interpreter& interpreter) {
  for (const std::string& text : lines) {
    const BatchLine line = ParseBatchLine(text);
    switch (line.kind) {
      case LineKind::kNothing:
        break;
      case LineKind::kDrive:
        ChangeDrive(line.drive, interpreter);
        break;
      case LineKind::kFolder:
        ChangeFolder(line.folder, interpreter);
        break;
      case LineKind::kExit:
        return;
      case LineKind::kProgram:
        RunProgramLine(line.run, interpreter);
        break;
    }
  }
}

}  // namespace shell
