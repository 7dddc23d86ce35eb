#include "shell/interpreter.h"

#include <gtest/gtest.h>

#include <sstream>

#include "shell/batch_line.h"
#include "tests/support/memory_file_system.h"

namespace shell {
namespace {

// Nothing for an empty `piece`; else one line that holds it.
bool SaysInOneLine(const std::string& text, const std::string& piece) {
  return piece.empty()
             ? text.empty()
             : text.find(piece) != std::string::npos && text.find("\r\n") == text.size() - 2;
}

TEST(RunBatch, RunsWhatItFindsAndExplainsInOneLineWhatItCannotRun) {
  const struct {
    const char* what;
    std::string batch;
    std::string ran;     // each program's file name and arguments, "[...]" each, one run a line
    std::string output;  // a piece of the interpreter's own output; empty: it must say nothing
    std::string log;     // a piece of what the redirect target logs\x.log holds, if checked
  } cases[] = {
      {"a program, until exit", "tool 1\r\nrem a\rtool 0\r\nEXIT\r\ntool 2", "tool[1]\n", "", ""},
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
    EXPECT_TRUE(SaysInOneLine(out.str(), c.output)) << out.str();
    const auto log = fs.files.find("logs\\x.log");
    const std::string logged =
        log == fs.files.end() ? "" : std::string(log->second.begin(), log->second.end());
    EXPECT_TRUE(c.log.empty() || SaysInOneLine(logged, c.log)) << logged;
  }
}

}  // namespace
}  // namespace shell
