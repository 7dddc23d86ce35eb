#include "core/text_file.h"

#include <cstring>

namespace core {

namespace {

constexpr std::size_t kWriteBuffer = 64 * 1024;

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
    const void* found = std::memchr(begin, '\r', static_cast<std::size_t>(end - begin));
    const char* cr = found != nullptr ? static_cast<const char*>(found) : end;
    line.append(begin, cr);
    position_ += static_cast<std::size_t>(cr - begin);
    if (cr != end) {
      ++position_;  // the CR
      if (Fill() && buffer_[position_] == '\n') {
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
  pending_.clear();
  return error;
}

}  // namespace core
