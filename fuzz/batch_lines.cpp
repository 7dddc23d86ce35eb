// libFuzzer target: korvane-cmd reading a batch. The input is the batch's text: it is split into
// lines, each line is parsed, and the program of each program line is looked for in the current
// folder and a small temporary folder tree (lookups only; nothing is started or written).

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "shell/batch_line.h"
#include "shell/program_lookup.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLookupsPerInput = 2;

// The interpreter's own folder and two PATH folders, with a Windows program in the own folder and
// in the second PATH folder and a script in the first, names in mixed letter case.
class LookupPlaces {
 public:
  LookupPlaces() {
    std::string pattern = (fs::temp_directory_path() / "korvane-fuzz-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    places.ownFolder = root_ + "/own";
    places.pathFolders = {root_ + "/path1", root_ + "/path2"};
    Put(places.ownFolder, "WadConv.exe", "MZ\x90");
    Put(places.pathFolders[0], "korvane-cmd", "#!/bin/sh\n");
    Put(places.pathFolders[1], "Tool.EXE", "MZ");
  }
  ~LookupPlaces() { fs::remove_all(root_); }

  // Whether a path lies inside the tree, where the file's name tells whether it is a Windows
  // program.
  bool Holds(const std::string& path) const { return path.starts_with(root_ + "/"); }

  shell::SearchPlaces places;

 private:
  static void Put(const std::string& folder, const std::string& name, const char* content) {
    fs::create_directories(folder);
    std::ofstream(folder + "/" + name, std::ios::binary) << content;
  }

  std::string root_;
};

bool HasFolderPart(const std::string& name) {
  return name.find_first_of("\\/:") != std::string::npos;
}

bool EndsWithExe(const std::string& name) {
  return name.size() > 4 && fuzz::AsciiLower(name.substr(name.size() - 4)) == ".exe";
}

// The lines must rebuild the text: each followed by LF, CR LF, or by the end of the text, where
// one CR may be left over.
void CheckSplit(std::string_view text, const std::vector<std::string>& lines) {
  std::size_t at = 0;
  for (const std::string& line : lines) {
    fuzz::Require(line.find('\n') == std::string::npos, "no line holds an LF");
    fuzz::Require(text.substr(at, line.size()) == line, "each line is the text at its place");
    at += line.size();
    if (text.substr(at, 2) == "\r\n") {
      at += 2;
    } else if (text.substr(at) == "\r") {
      ++at;
    } else if (at < text.size()) {
      fuzz::Require(text[at] == '\n', "a line ends at LF, CR LF or the end of the text");
      ++at;
    }
  }
  fuzz::Require(at == text.size(), "the lines cover the whole text");
}

bool HasQuote(const std::string& text) {
  return text.find('"') != std::string::npos;
}

void CheckParse(const std::string& line, const shell::BatchLine& parsed) {
  const std::size_t redirect = shell::FindRedirect(line);
  fuzz::Require(redirect == std::string::npos || line[redirect] == '>',
                "a redirect is found at a \">\"");
  switch (parsed.kind) {
    case shell::LineKind::kDrive:
      fuzz::Require((parsed.drive | 0x20) >= 'a' && (parsed.drive | 0x20) <= 'z',
                    "a drive line names a letter");
      break;
    case shell::LineKind::kFolder:
      fuzz::Require(!HasQuote(parsed.folder), "a folder has its quotes removed");
      break;
    case shell::LineKind::kProgram:
      fuzz::Require(
          !HasQuote(parsed.run.program) && !HasQuote(parsed.run.target) &&
              std::none_of(parsed.run.arguments.begin(), parsed.run.arguments.end(), HasQuote),
          "program, arguments and redirect target have their quotes removed");
      fuzz::Require(parsed.run.redirected || parsed.run.target.empty(),
                    "only a redirected line has a target");
      break;
    case shell::LineKind::kNothing:
    case shell::LineKind::kExit:
      break;
  }
}

void CheckLookup(const LookupPlaces& tree, const std::string& name) {
  const std::vector<std::string> candidates = shell::ProgramCandidates(name, tree.places);
  const std::size_t forms = EndsWithExe(name) ? 2 : 1;
  fuzz::Require(!candidates.empty() && candidates.front() == name,
                "the name as written is tried first");
  fuzz::Require(candidates.size() == (HasFolderPart(name) ? forms : 4 * forms),
                "a name with a folder is tried only where it points, any other in every place");

  if (HasFolderPart(name)) {
    // Such a name is tried only where it points, which may be anywhere on the host: looking it up
    // would walk the host's folders rather than the lookup's rules.
    return;
  }
  const std::string found = shell::FindProgram(platform::NativeFileSystem(), name, tree.places);
  fuzz::Require(
      found.empty() || std::find(candidates.begin(), candidates.end(), found) != candidates.end(),
      "a found program is one of the candidates");
  const std::string folded = fuzz::AsciiLower(name);
  if (folded == "wadconv.exe" || folded == "korvane-cmd" || folded == "korvane-cmd.exe" ||
      folded == "tool.exe") {
    fuzz::Require(!found.empty(), "a program in the own folder or on PATH is found in any case");
  }
  if (tree.Holds(found)) {
    const std::string file = fuzz::AsciiLower(found.substr(found.rfind('/') + 1));
    fuzz::Require(shell::IsWindowsProgram(platform::NativeFileSystem(), found) ==
                      !file.starts_with("korvane-cmd"),
                  "a Windows program is told from a script by its first bytes");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const LookupPlaces tree;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = shell::SplitBatchText(text);
  CheckSplit(text, lines);
  std::size_t lookups = 0;
  for (const std::string& line : lines) {
    const shell::BatchLine parsed = shell::ParseBatchLine(line);
    CheckParse(line, parsed);
    if (parsed.kind == shell::LineKind::kProgram && !parsed.run.program.empty() &&
        lookups++ < kLookupsPerInput) {
      CheckLookup(tree, parsed.run.program);
    }
  }
  return 0;
}
