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
  while (true) {
    if (position_ < size_) {
      if (skipLf_) {
        skipLf_ = false;
        if (buffer_[position_] == '\n') {
          ++position_;
          continue;
        }
      }
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
  }
}

bool LineReader::AtEnd() {
  return !Fill();
}

platform::Error LineReader::ReadPiece(std::string_view& piece, bool& lineEnds) {
  piece = {};
  lineEnds = true;
  if (!Fill()) {
    return error_;
  }
  const char* begin = buffer_.data() + position_;
  const char* end = buffer_.data() + size_;
  const char* lineEnd = FindLineEnd(begin, end);
  piece = std::string_view(begin, static_cast<std::size_t>(lineEnd - begin));
  position_ += piece.size();
  lineEnds = lineEnd != end;
  if (lineEnds) {
    ++position_;
    // The LF of a CR LF may lie in the next fill, which must not overwrite `piece` yet.
    skipLf_ = *lineEnd == '\r';
  }
  return 0;
}

platform::Error LineWriter::WriteLine(std::string_view line) {
  if (const platform::Error error = Append(line); error != 0) {
    return error;
  }
  return EndLine();
}

platform::Error LineWriter::Append(std::string_view text) {
  pending_ += text;
  return pending_.size() >= kWriteBuffer ? Flush() : 0;
}

platform::Error LineWriter::EndLine() {
  pending_ += "\r\n";
  lineStart_ = written_ + static_cast<std::int64_t>(pending_.size());
  return pending_.size() >= kWriteBuffer ? Flush() : 0;
}

platform::Error LineWriter::DropLine() {
  if (lineStart_ >= written_) {
    pending_.resize(static_cast<std::size_t>(lineStart_ - written_));
    return 0;
  }
  pending_.clear();
  written_ = lineStart_;
  return fs_.Truncate(file_, lineStart_);
}

platform::Error LineWriter::Flush() {
  const platform::Error error = fs_.Write(file_, pending_.data(), pending_.size());
  if (error == 0) {
    writeBack_.Wrote(fs_, file_, pending_.size());
    written_ += static_cast<std::int64_t>(pending_.size());
  }
  pending_.clear();
  return error;
}

}  // namespace core
