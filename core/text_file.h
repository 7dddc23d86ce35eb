#pragma once

// Line-by-line text files over the platform's raw file operations. A line ends at CR LF, at a lone
// CR or at a lone LF, so that files written on Windows, on old Macs and on Linux all read as lines;
// the last line needs no line end, and a final line end yields no extra empty line. Written lines
// end in CR LF.

#include <string>
#include <vector>

#include "platform/platform.h"

namespace core {

class LineReader {
 public:
  LineReader(platform::FileSystem& fs, platform::File file) : fs_(fs), file_(file) {}

  // True when no line is left. May read ahead; a read failure is kept in error().
  bool AtEnd();
  // The next line without its line end. Returns the read error, 0 on success.
  platform::Error ReadLine(std::string& line);
  platform::Error error() const { return error_; }

 private:
  bool Fill();

  platform::FileSystem& fs_;
  platform::File file_;
  std::vector<char> buffer_ = std::vector<char>(64 * 1024);
  std::size_t position_ = 0;
  std::size_t size_ = 0;
  bool endOfFile_ = false;
  platform::Error error_ = 0;
};

class LineWriter {
 public:
  LineWriter(platform::FileSystem& fs, platform::File file) : fs_(fs), file_(file) {}

  // Writes `line` and CR LF; output is buffered until Flush.
  platform::Error WriteLine(const std::string& line);
  // Hands every buffered byte to the file. Every few MiB written it also starts their write-back
  // to disk, so that the final flush of a large file does not wait for all of it at once.
  platform::Error Flush();

 private:
  platform::FileSystem& fs_;
  platform::File file_;
  std::string pending_;
  platform::WriteBackPacer writeBack_;
};

}  // namespace core
