// The interpreter's line rules in-process, over files in memory, with a stand-in for running a
// program that records what it was asked to run.

#include "shell/interpreter.h"

#include <gtest/gtest.h>

#include <sstream>

#include "shell/batch_line.h"
#include "tests/support/memory_file_system.h"

namespace shell {
namespace {

TEST(RunBatch, RunsWhatItFindsAndExplainsInOneLineWhatItCannotRun) {
  const struct {
    const char* what;
    std::string batch;
    std::string ran;     // each program's file name and arguments, "[...]" each, one run a line
    std::string output;  // a piece of the interpreter's own output; empty: it must say nothing
    std::string log;     // a piece of what the redirect target logs\x.log holds, if checked
  } cases[] = {
      {"a program, until exit", "tool 1\r\nrem tool 0\r\nEXIT\r\ntool 2", "tool[1]\n", "", ""},
      {"found without .exe", "tool.EXE a>logs\\x.log\n\ntool b", "tool[a]\ntool[b]\n", "", ""},
      {"a folder's name", "cd", "", platform::CurrentFolder() + "\r\n", ""},
      {"a missing program", "missing.exe -y", "", "'missing.exe' is not recognized", ""},
      {"into its redirect", "missing.exe -x>logs\\x.log", "", "",
       "'missing.exe' is not recognized"},
      {"a redirect without target", "tool >", "", "The syntax of the command is incorrect.", ""},
      {"a program that cannot start", "broken", "broken\n", "'broken' cannot be run", ""},
      {"a Windows program without wine", "win.exe a>logs\\x.log", "", "",
       "'win.exe' is a Windows program, and wine is not on PATH"},
      {"a Windows program through wine", "win.exe a", "wine[win.exe][a]\n", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test_support::MemoryFileSystem fs;
    fs.files["tool"] = {'#', '!'};
    fs.files["broken"] = {};
    fs.files["win.exe"] = {'M', 'Z', 0};
    if (c.what == std::string("a Windows program through wine")) {
      fs.files["/bin/wine"] = {};
    }
    std::string ran;
    std::ostringstream out;
    Interpreter interpreter{
        fs,
        [&](const std::string& program, const std::vector<std::string>& arguments, platform::File) {
          std::string line = program.substr(program.find_last_of('/') + 1);
          for (const std::string& argument : arguments) {
            line += "[" + argument.substr(argument.find_last_of('/') + 1) + "]";
          }
          ran += line + "\n";
          return platform::Error{program.ends_with("broken") ? 2 : 0};
        },
        {"", {"/bin"}},
        out};
    RunBatch(SplitBatchText(c.batch), interpreter);
    EXPECT_EQ(ran, c.ran);
    if (c.output.empty()) {
      EXPECT_EQ(out.str(), "");
    } else {
      EXPECT_NE(out.str().find(c.output), std::string::npos) << out.str();
      EXPECT_EQ(out.str().find("\r\n"), out.str().size() - 2) << out.str();
    }
    const auto log = fs.files.find("logs\\x.log");
    if (!c.log.empty()) {
      ASSERT_NE(log, fs.files.end());
      const std::string text(log->second.begin(), log->second.end());
      EXPECT_NE(text.find(c.log), std::string::npos) << text;
      EXPECT_EQ(text.find("\r\n"), text.size() - 2) << text;
    }
  }
}

}  // namespace
}  // namespace shell
