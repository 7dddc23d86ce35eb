#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/text_file.h"
#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"

namespace {

std::vector<std::string> ReadLines(const std::string& content) {
  const std::string name = "lines-" + std::to_string(content.size()) + ".txt";
  test_support::WriteHostFile((test_support::DriveC() / name).string(), content);
  platform::FileSystem& fs = platform::NativeFileSystem();
  platform::File file;
  EXPECT_EQ(fs.OpenRead("c:\\" + name, file), 0);
  core::LineReader reader(fs, file);
  std::vector<std::string> lines;
  while (!reader.AtEnd()) {
    std::string line;
    bool lineEnds = false;
    while (!lineEnds) {
      std::string_view piece;
      EXPECT_EQ(reader.ReadPiece(piece, lineEnds), 0);
      // A piece never holds more than the reader's buffer.
      EXPECT_LE(piece.size(), 64u * 1024);
      line += piece;
    }
    lines.push_back(line);
  }
  EXPECT_EQ(fs.Close(file), 0);
  return lines;
}

using Lines = std::vector<std::string>;

// Files on drive c: of a prefix of each test's own.
class TextFileTest : public testing::Test {
 protected:
  test_support::TemporaryWinePrefix prefix_{"core-tests"};
};

TEST_F(TextFileTest, LineReaderEndsLinesAtCrLfALoneCrOrALoneLfAcrossItsBuffer) {
  const std::string longLine(200000, 'q');
  // A CR LF split between two buffer fills is still one line end.
  const std::string split(64 * 1024 - 1, 'w');
  const struct {
    std::string content;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"a\n\r\nb", {"a", "", "b"}},
      {"\r\n\r\nlast", {"", "", "last"}},
      {"x\r", {"x"}},
      {longLine + "\r\n" + longLine, {longLine, longLine}},
      {split + "\r\nz", {split, "z"}},
      {longLine + "\n" + longLine + "\r\n", {longLine, longLine}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadLines(c.content), c.lines) << c.content.substr(0, 20);
  }
}

TEST_F(TextFileTest, LineWriterEndsEveryLineWithCrLfAndTakesBackADroppedLineEvenOnceWritten) {
  platform::FileSystem& fs = platform::NativeFileSystem();
  platform::File file;
  ASSERT_EQ(fs.Create("c:\\written.txt", file), 0);
  core::LineWriter writer(fs, file);
  const std::string longPiece(200000, 'q');
  EXPECT_EQ(writer.WriteLine("one"), 0);
  EXPECT_EQ(writer.Append("dropped while buffered"), 0);
  EXPECT_EQ(writer.DropLine(), 0);
  EXPECT_EQ(writer.WriteLine(""), 0);
  // Long enough to reach the file before it is taken back.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(writer.Append(longPiece), 0);
  }
  EXPECT_EQ(writer.DropLine(), 0);
  EXPECT_EQ(writer.Append("two"), 0);
  EXPECT_EQ(writer.EndLine(), 0);
  EXPECT_EQ(writer.Flush(), 0);
  EXPECT_EQ(fs.Close(file), 0);
  EXPECT_EQ(test_support::ReadHostFile(test_support::DriveC() / "written.txt"),
            "one\r\n\r\ntwo\r\n");
}

}  // namespace
