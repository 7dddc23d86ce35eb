#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/text_file.h"
#include "tests/core/temp_prefix.h"

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

TEST(LineReader, EndsLinesAtCrLfALoneCrOrALoneLf) {
  EXPECT_EQ(ReadLines(""), Lines{});
  EXPECT_EQ(ReadLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(ReadLines("a\rb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(ReadLines("a\n\nb\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ReadLines("a\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ReadLines("\r\n\r\nlast"), (Lines{"", "", "last"}));
  EXPECT_EQ(ReadLines("x\r"), (Lines{"x"}));
}

TEST(LineReader, KeepsLinesWholeAcrossItsBuffer) {
  const std::string longLine(200000, 'q');
  EXPECT_EQ(ReadLines(longLine + "\r\n" + longLine), (Lines{longLine, longLine}));
  // A CR LF split between two buffer fills is still one line end.
  const std::string split(64 * 1024 - 1, 'w');
  EXPECT_EQ(ReadLines(split + "\r\nz"), (Lines{split, "z"}));
  EXPECT_EQ(ReadLines(longLine + "\n" + longLine + "\r\n"), (Lines{longLine, longLine}));
}

TEST(LineWriter, EndsEveryLineWithCrLfAndTakesBackADroppedLineEvenOnceWritten) {
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
