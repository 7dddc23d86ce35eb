#pragma once

// How the interpreter reads a batch file: the file's text into lines, and each line into what it
// asks for. Pure text work; nothing here touches the file system.

#include <string>
#include <string_view>
#include <vector>

namespace shell {

// The lines of a batch file. A line ends at LF; a CR right before the LF belongs to the line end.
// A final line end gives no extra empty line.
std::vector<std::string> SplitBatchText(std::string_view text);

// "%%" stands for one "%"; every other character stays as it is.
std::string UndoublePercents(std::string_view text);

// Arguments split at spaces and tabs outside double quotes; the quotes group and are removed, so
// "" is an empty argument.
std::vector<std::string> SplitArguments(std::string_view text);

// Position of the first ">" outside double quotes, or npos.
std::size_t FindRedirect(std::string_view text);

enum class LineKind {
  kNothing,  // blank, a remark ("rem ...") or a label (":name")
  kDrive,    // "x:"
  kFolder,   // "cd PATH"
  kExit,     // "exit"
  kProgram,  // PROGRAM ARGS, perhaps with ">FILE"
};

struct ProgramRun {
  std::string program;  // as written, quotes removed; empty for a line that is only a redirect
  std::vector<std::string> arguments;
  bool redirected = false;
  std::string target;  // the redirect target, quotes removed; empty when the line gives none
};

struct BatchLine {
  LineKind kind = LineKind::kNothing;
  char drive = 0;      // kDrive
  std::string folder;  // kFolder: the rest of the line, quotes removed; empty asks for the folder
  ProgramRun run;      // kProgram
};

// What one line of a batch file asks for, after "%%" has become "%".
BatchLine ParseBatchLine(std::string_view line);

}  // namespace shell
