#pragma once

// The command-line rules the four programs share, written once: -h and --help print the usage line
// and a short help, --version prints the program's name and version, an option the program does
// not take is named in one line followed by the usage line, and a wrong command line ends the
// program with status 2.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace platform::common {

inline constexpr int kExitWrongCommandLine = 2;

struct ProgramUsage {
  const char* name;      // "pellisk"
  const char* synopsis;  // what follows the name in the usage line: "MAPFILE"
  std::string help;      // the lines after the usage line, each ended by "\n"
  const char* version;
  // Put in front of an error line: wadconv marks its errors for whoever reads its output.
  const char* errorMarker = "";
};

// "usage: pellisk MAPFILE"
std::string UsageLine(const ProgramUsage& usage);

// Answers the options every program takes, looking at the first word of `words`: -h or --help
// (usage line and help on `out`) and --version (on `out`) when nothing follows them; an option
// the program does not take, or one of these with more words after it, as a wrong command line on
// `err`. `own` lists the program's own options, which are left to it, compared ignoring letter
// case. Returns the exit status when the command line has been answered, nothing when the program
// goes on with it.
std::optional<int> AnswerCommonOptions(const ProgramUsage& usage,
                                       const std::vector<std::string>& words, std::ostream& out,
                                       std::ostream& err,
                                       const std::vector<std::string_view>& own = {});

// Writes "NAME: PROBLEM" and the usage line on `err` and returns the status of a wrong command
// line.
int WrongCommandLine(const ProgramUsage& usage, const std::string& problem, std::ostream& err);

// `text` with each CR LF turned into `lineEnd`: the programs' texts end lines with CR LF, a
// terminal of Linux with LF.
std::string WithLineEnds(std::string_view text, std::string_view lineEnd);

}  // namespace platform::common
