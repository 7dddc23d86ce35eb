#pragma once

// Line-by-line text files over the platform's raw file operations. A line ends at CR LF, at a lone
// CR or at a lone LF, so that files written on Windows, on old Macs and on Linux all read as lines;
// the last line needs no line end, and a final line end yields no extra empty line. Written lines
// end in CR LF.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace core {

class LineReader {
 public:
  LineReader(platform::FileSystem& fs, platform::File file) : fs_(fs), file_(file) {}

  // True when no line is left. May read ahead; a read failure is kept in error().
  bool AtEnd();
  // The next piece of the current line: as much of it as the buffer holds, so that memory stays
  // bounded whatever a line's length. `piece` points into the reader's buffer and stays valid
  // until the next call; `lineEnds` is true when the line ends after it (at a line end or at the
  // end of the file). Returns the read error, 0 on success.
  [[nodiscard]] platform::Error ReadPiece(std::string_view& piece, bool& lineEnds);
  platform::Error error() const { return error_; }

 private:
  bool Fill();

  platform::FileSystem& fs_;
  platform::File file_;
  std::vector<char> buffer_ = std::vector<char>(64 * 1024);
  std::size_t position_ = 0;
  std::size_t size_ = 0;
  bool endOfFile_ = false;
  // The last line ended at a CR, and an LF that follows belongs to that line end.
  bool skipLf_ = false;
  platform::Error error_ = 0;
};

class LineWriter {
 public:
  LineWriter(platform::FileSystem& fs, platform::File file) : fs_(fs), file_(file) {}

  // Writes `line` and CR LF; output is buffered until Flush.
  [[nodiscard]] platform::Error WriteLine(std::string_view line);
  // Adds `text` to the current line. A long line goes to the file piece by piece, so memory stays
  // bounded whatever its length.
  [[nodiscard]] platform::Error Append(std::string_view text);
  // Ends the current line with CR LF.
  [[nodiscard]] platform::Error EndLine();
  // Takes back what was added since the last line end, cutting the file back where part of it was
  // written already. The file must have been empty when the writer started.
  [[nodiscard]] platform::Error DropLine();
  // Hands every buffered byte to the file. Every few MiB written it also starts their write-back
  // to disk, so that the final flush of a large file does not wait for all of it at once.
  [[nodiscard]] platform::Error Flush();

 private:
  platform::FileSystem& fs_;
  platform::File file_;
  std::string pending_;
  // Bytes handed to the file so far, and where the current line starts.
  std::int64_t written_ = 0;
  std::int64_t lineStart_ = 0;
  platform::WriteBackPacer writeBack_;
};

}  // namespace core
