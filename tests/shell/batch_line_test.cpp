#include "shell/batch_line.h"

#include <gtest/gtest.h>

#include "shell/program_lookup.h"

namespace shell {
namespace {

using Lines = std::vector<std::string>;

std::string Described(const BatchLine& line) {
  std::string run = "run " + line.run.program;
  for (const std::string& argument : line.run.arguments) {
    run += "[" + argument + "]";
  }
  const std::string kinds[] = {"nothing", std::string("drive ") + line.drive, "cd " + line.folder,
                               "exit", line.run.redirected ? run + ">" + line.run.target : run};
  return kinds[static_cast<int>(line.kind)];
}

// Built-in words ignore letter case and the blanks around them, but only whole words are built in;
// quotes group and are removed, "%%" is one "%", and the redirect is the first ">" outside quotes.
TEST(ParseBatchLine, ReadsBuiltInWordsProgramsArgumentsAndTheRedirect) {
  const char* const cases[][2] = {
      {"  EXIT  ", "exit"},
      {"Exit 3", "exit"},
      {"D: ", "drive D"},
      {"@c:", "drive c"},
      {"CHDIR\t\"c:\\a b\"  ", "cd c:\\a b"},
      {"c:x", "run c:x"},
      {"1:", "run 1:"},
      {"exiting now", "run exiting[now]"},
      {"cdrom.exe", "run cdrom.exe"},
      {"remote.exe", "run remote.exe"},
      {" \t ", "nothing"},
      {"rem wadconv.exe x>y", "nothing"},
      {"REM", "nothing"},
      {":label", "nothing"},
      {"@", "nothing"},
      {"\"My Tool.exe\" -x \"Rock & Roll 100%%.wad\" a\"b c\"d \"\"\t100%%%%>x",
       "run My Tool.exe[-x][Rock & Roll 100%.wad][ab cd][][100%%]>x"},
      {"tool \"a>b\" c", "run tool[a>b][c]"},
      {"tool \"x>y\" z > \"logs\\my log.txt\" ", "run tool[x>y][z]>logs\\my log.txt"},
      // An unquoted log name with a space stays whole, so the output lands where the driver reads
      // it.
      {"wadconv.exe -wad2hl My Wad.wad>logs\\my wad.log",
       "run wadconv.exe[-wad2hl][My][Wad.wad]>logs\\my wad.log"},
      {">empty.txt", "run >empty.txt"},
      {"tool > ", "run tool>"},
  };
  for (const auto& [line, asks] : cases) {
    EXPECT_EQ(Described(ParseBatchLine(line)), asks) << line;
  }
  EXPECT_EQ(UndoublePercents("50% %%%"), "50% %%") << "a lone \"%\" stays";
}

TEST(ProgramCandidates, CurrentFolderThenOwnFolderThenPathUnlessTheNameHasAFolder) {
  const SearchPlaces places{"/opt/korvane", {"/usr/local/bin", "", "/bin/"}};
  EXPECT_EQ(ProgramCandidates("wadconv.EXE", places),
            (Lines{"wadconv.EXE", "wadconv", "/opt/korvane/wadconv.EXE", "/opt/korvane/wadconv",
                   "/usr/local/bin/wadconv.EXE", "/usr/local/bin/wadconv", "/bin/wadconv.EXE",
                   "/bin/wadconv"}));
  EXPECT_EQ(ProgramCandidates("tool", places),
            (Lines{"tool", "/opt/korvane/tool", "/usr/local/bin/tool", "/bin/tool"}));
  EXPECT_EQ(ProgramCandidates(".exe", places).size(), 4u);
  EXPECT_EQ(ProgramCandidates("bin\\tool.exe", places), (Lines{"bin\\tool.exe", "bin\\tool"}));
  EXPECT_EQ(ProgramCandidates("c:tool", places), (Lines{"c:tool"}));
  EXPECT_EQ(ProgramCandidates("/usr/bin/env", places), (Lines{"/usr/bin/env"}));
}

}  // namespace
}  // namespace shell
