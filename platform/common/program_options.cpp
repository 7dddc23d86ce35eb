#include "platform/common/program_options.h"

#include "platform/common/ascii.h"

namespace platform::common {

std::string UsageLine(const ProgramUsage& usage) {
  return std::string("usage: ") + usage.name + " " + usage.synopsis;
}

std::optional<int> AnswerCommonOptions(const ProgramUsage& usage,
                                       const std::vector<std::string>& words, std::ostream& out,
                                       std::ostream& err,
                                       const std::vector<std::string_view>& own) {
  if (words.empty() || words.front().size() < 2 || words.front().front() != '-') {
    return std::nullopt;
  }
  const std::string& option = words.front();
  for (const std::string_view ownOption : own) {
    if (ascii::SameIgnoringCase(option, ownOption)) {
      return std::nullopt;
    }
  }
  const bool help = option == "-h" || option == "--help";
  if (!help && option != "--version") {
    return WrongCommandLine(usage, "unknown option '" + option + "'", err);
  }
  if (words.size() > 1) {
    return WrongCommandLine(usage, "'" + option + "' takes nothing after it", err);
  }
  if (help) {
    out << UsageLine(usage) << "\n" << usage.help;
  } else {
    out << usage.name << " " << usage.version << "\n";
  }
  out.flush();
  return 0;
}

int WrongCommandLine(const ProgramUsage& usage, const std::string& problem, std::ostream& err) {
  err << usage.errorMarker << usage.name << ": " << problem << "\n" << UsageLine(usage) << "\n";
  err.flush();
  return kExitWrongCommandLine;
}

std::string WithLineEnds(std::string_view text, std::string_view lineEnd) {
  std::string converted;
  converted.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, 2, "\r\n") == 0) {
      converted += lineEnd;
      at += 2;
    } else {
      converted += text[at++];
    }
  }
  return converted;
}

}  // namespace platform::common
