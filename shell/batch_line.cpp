#include "shell/batch_line.h"

#include "platform/common/ascii.h"
#include "platform/common/command_line.h"

namespace shell {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string WithoutQuotes(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c != '"') {
      result += c;
    }
  }
  return result;
}

bool SameWord(std::string_view word, std::string_view lowerCase) {
  return platform::ascii::SameIgnoringCase(word, lowerCase);
}

ProgramRun ParseProgramRun(std::string_view text) {
  ProgramRun run;
  std::string_view command = text;
  const std::size_t redirect = FindRedirect(text);
  if (redirect != std::string_view::npos) {
    command = text.substr(0, redirect);
    run.redirected = true;
    // The target runs to the end of the line, so a log name with a space in it stays whole.
    run.target = WithoutQuotes(TrimBlanks(text.substr(redirect + 1)));
  }
  std::vector<std::string> words = SplitArguments(command);
  if (!words.empty()) {
    run.program = std::move(words.front());
    run.arguments.assign(std::make_move_iterator(words.begin() + 1),
                         std::make_move_iterator(words.end()));
  }
  return run;
}

}  // namespace

std::vector<std::string> SplitBatchText(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.emplace_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

std::string UndoublePercents(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
    }
  }
  return result;
}

std::vector<std::string> SplitArguments(std::string_view text) {
  return platform::common::SplitCommandLine(std::string(text));
}

std::size_t FindRedirect(std::string_view text) {
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') {
      quoted = !quoted;
    } else if (text[i] == '>' && !quoted) {
      return i;
    }
  }
  return std::string_view::npos;
}

BatchLine ParseBatchLine(std::string_view line) {
  const std::string expanded = UndoublePercents(line);
  std::string_view text = TrimBlanks(expanded);
  // A leading "@" only hides the line's echo, and this interpreter echoes nothing.
  while (!text.empty() && text.front() == '@') {
    text = TrimBlanks(text.substr(1));
  }
  BatchLine result;
  if (text.empty() || text.front() == ':') {
    return result;
  }
  if (text.size() == 2 && text[1] == ':' && platform::ascii::IsLetter(text[0])) {
    result.kind = LineKind::kDrive;
    result.drive = text[0];
    return result;
  }
  std::size_t wordEnd = 0;
  while (wordEnd < text.size() && !IsBlank(text[wordEnd])) {
    ++wordEnd;
  }
  const std::string_view word = text.substr(0, wordEnd);
  if (SameWord(word, "rem")) {
    return result;
  }
  if (SameWord(word, "exit")) {
    result.kind = LineKind::kExit;
  } else if (SameWord(word, "cd") || SameWord(word, "chdir")) {
    // As with cmd.exe, the folder is the rest of the line: spaces in it need no quotes.
    result.kind = LineKind::kFolder;
    result.folder = WithoutQuotes(TrimBlanks(text.substr(wordEnd)));
  } else {
    result.kind = LineKind::kProgram;
    result.run = ParseProgramRun(text);
  }
  return result;
}

}  // namespace shell
