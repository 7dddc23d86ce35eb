#include "core/text_file.h"

#include <cstring>

namespace core {

namespace {

constexpr std::size_t kWriteBuffer = 256 * 1024;

// The first CR or LF in [begin, end), or end. Map lines are long runs of digits and spaces, so
// two memchr passes over the rest of the buffer beat a byte-by-byte scan; the second pass only
// looks as far as the first one's find.
const char* FindLineEnd(const char* begin, const char* end) {
  const void* cr = std::memchr(begin, '\r', static_cast<std::size_t>(end - begin));
  const char* limit = cr != nullptr ? static_cast<const char*>(cr) : end;
  const void* lf = std::memchr(begin, '\n', static_cast<std::size_t>(limit - begin));
  return lf != nullptr ? static_cast<const char*>(lf) : limit;
}

}  // namespace

bool LineReader::Fill() {
  if (position_ < size_) {
    return true;
  }
  if (endOfFile_ || error_ != 0) {
    return false;
  }
  std::size_t got = 0;
  error_ = fs_.Read(file_, buffer_.data(), buffer_.size(), got);
  position_ = 0;
  size_ = error_ == 0 ? got : 0;
  endOfFile_ = size_ == 0;
  return size_ > 0;
}

bool LineReader::AtEnd() {
  return !Fill();
}

platform::Error LineReader::ReadLine(std::string& line) {
  line.clear();
  while (Fill()) {
    const char* begin = buffer_.data() + position_;
    const char* end = buffer_.data() + size_;
    const char* lineEnd = FindLineEnd(begin, end);
    line.append(begin, lineEnd);
    position_ += static_cast<std::size_t>(lineEnd - begin);
    if (lineEnd != end) {
      ++position_;
      if (*lineEnd == '\r' && Fill() && buffer_[position_] == '\n') {
        ++position_;
      }
      break;
    }
  }
  return error_;
}

platform::Error LineWriter::WriteLine(const std::string& line) {
  pending_ += line;
  pending_ += "\r\n";
  return pending_.size() >= kWriteBuffer ? Flush() : 0;
}

platform::Error LineWriter::Flush() {
  const platform::Error error = fs_.Write(file_, pending_.data(), pending_.size());
  if (error == 0) {
    writeBack_.Wrote(fs_, file_, pending_.size());
  }
  pending_.clear();
  return error;
}

}  // namespace core
