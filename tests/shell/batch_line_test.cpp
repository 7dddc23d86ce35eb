#include "shell/batch_line.h"

#include <gtest/gtest.h>

#include "shell/program_lookup.h"

namespace shell {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitBatchText, ReadsCrLfAndLfLineEndsAndAddsNoLineAfterTheLast) {
  EXPECT_EQ(SplitBatchText("c:\r\nexit\r\n"), (Lines{"c:", "exit"}));
  EXPECT_EQ(SplitBatchText("c:\nexit\n"), (Lines{"c:", "exit"}));
  EXPECT_EQ(SplitBatchText("c:\r\n\r\nx\ny"), (Lines{"c:", "", "x", "y"}));
  EXPECT_EQ(SplitBatchText("a\rb\r\n"), (Lines{"a\rb"}));
  EXPECT_EQ(SplitBatchText(""), Lines{});
}

TEST(ParseBatchLine, BuiltInWordsIgnoreLetterCaseAndSurroundingBlanks) {
  EXPECT_EQ(ParseBatchLine("  EXIT  ").kind, LineKind::kExit);
  EXPECT_EQ(ParseBatchLine("Exit 3").kind, LineKind::kExit);
  EXPECT_EQ(ParseBatchLine("D: ").drive, 'D');
  EXPECT_EQ(ParseBatchLine("@c:").kind, LineKind::kDrive);
  EXPECT_EQ(ParseBatchLine("CHDIR\t\"c:\\a b\"  ").folder, "c:\\a b");
  // Only a lone letter and colon change the drive; anything longer names a program.
  EXPECT_EQ(ParseBatchLine("c:x").kind, LineKind::kProgram);
  EXPECT_EQ(ParseBatchLine("1:").kind, LineKind::kProgram);
  // Words that merely start like a built-in one are programs.
  EXPECT_EQ(ParseBatchLine("exiting now").kind, LineKind::kProgram);
  EXPECT_EQ(ParseBatchLine("cdrom.exe").kind, LineKind::kProgram);
}

TEST(ParseBatchLine, BlankLinesRemarksAndLabelsDoNothing) {
  for (const char* line : {"", "   ", "\t", "rem wadconv.exe x>y", "REM", ":label", "@"}) {
    EXPECT_EQ(ParseBatchLine(line).kind, LineKind::kNothing) << line;
  }
  EXPECT_EQ(ParseBatchLine("remote.exe").kind, LineKind::kProgram);
}

TEST(ParseBatchLine, QuotesGroupAndAreRemovedAndDoubledPercentsAreUndoubled) {
  const BatchLine line =
      ParseBatchLine("\"My Tool.exe\" -x \"Rock & Roll 100%%.wad\" a\"b c\"d \"\"\t100%%%%>x");
  ASSERT_EQ(line.kind, LineKind::kProgram);
  EXPECT_EQ(line.run.program, "My Tool.exe");
  EXPECT_EQ(line.run.arguments, (Lines{"-x", "Rock & Roll 100%.wad", "ab cd", "", "100%%"}));
  EXPECT_EQ(line.run.target, "x");
  // A lone "%" stays as it is.
  EXPECT_EQ(UndoublePercents("50% %%%"), "50% %%");
}

TEST(ParseBatchLine, TheRedirectIsTheFirstGreaterThanOutsideQuotes) {
  const BatchLine quoted = ParseBatchLine("tool \"a>b\" c");
  EXPECT_FALSE(quoted.run.redirected);
  EXPECT_EQ(quoted.run.arguments, (Lines{"a>b", "c"}));

  const BatchLine spaced = ParseBatchLine("tool \"x>y\" z > \"logs\\my log.txt\" ");
  EXPECT_TRUE(spaced.run.redirected);
  EXPECT_EQ(spaced.run.arguments, (Lines{"x>y", "z"}));
  EXPECT_EQ(spaced.run.target, "logs\\my log.txt");

  // An unquoted log name with a space stays whole, so the output lands where the driver reads it.
  const BatchLine unquoted = ParseBatchLine("wadconv.exe -wad2hl My Wad.wad>logs\\my wad.log");
  EXPECT_EQ(unquoted.run.arguments, (Lines{"-wad2hl", "My", "Wad.wad"}));
  EXPECT_EQ(unquoted.run.target, "logs\\my wad.log");

  const BatchLine onlyRedirect = ParseBatchLine(">empty.txt");
  EXPECT_EQ(onlyRedirect.kind, LineKind::kProgram);
  EXPECT_EQ(onlyRedirect.run.program, "");
  EXPECT_EQ(onlyRedirect.run.target, "empty.txt");

  const BatchLine noTarget = ParseBatchLine("tool > ");
  EXPECT_TRUE(noTarget.run.redirected);
  EXPECT_EQ(noTarget.run.target, "");
}

TEST(ProgramCandidates, CurrentFolderThenOwnFolderThenPathEachAsWrittenThenWithoutExe) {
  const SearchPlaces places{"/opt/korvane", {"/usr/local/bin", "", "/bin/"}};
  EXPECT_EQ(ProgramCandidates("wadconv.EXE", places),
            (Lines{"wadconv.EXE", "wadconv", "/opt/korvane/wadconv.EXE", "/opt/korvane/wadconv",
                   "/usr/local/bin/wadconv.EXE", "/usr/local/bin/wadconv", "/bin/wadconv.EXE",
                   "/bin/wadconv"}));
  EXPECT_EQ(ProgramCandidates("tool", places),
            (Lines{"tool", "/opt/korvane/tool", "/usr/local/bin/tool", "/bin/tool"}));
  EXPECT_EQ(ProgramCandidates(".exe", places).front(), ".exe");
  EXPECT_EQ(ProgramCandidates(".exe", places).size(), 4u);
}

TEST(ProgramCandidates, ANameWithAFolderIsTriedOnlyWhereItPoints) {
  const SearchPlaces places{"/opt/korvane", {"/usr/bin"}};
  EXPECT_EQ(ProgramCandidates("bin\\tool.exe", places), (Lines{"bin\\tool.exe", "bin\\tool"}));
  EXPECT_EQ(ProgramCandidates("c:tool", places), (Lines{"c:tool"}));
  EXPECT_EQ(ProgramCandidates("/usr/bin/env", places), (Lines{"/usr/bin/env"}));
}

}  // namespace
}  // namespace shell
