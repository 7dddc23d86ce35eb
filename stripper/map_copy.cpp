#include "stripper/map_copy.h"

#include <cstring>
#include <string_view>

#include "core/failure.h"
#include "core/text_file.h"
#include "platform/common/ascii.h"
#include "stripper/line_filter.h"

namespace stripper {

namespace {

constexpr std::string_view kFormatKey = "\"mapversion\"";

// What a line is, told from its first characters, which may arrive in several pieces: a brush face
// starts with "(", the format key's line with "\"mapversion\"" (spaces and tabs before either).
class LineStart {
 public:
  void Reset() { state_ = State::kBlank; }

  void Feed(std::string_view piece, CopiedMap& copied) {
    for (std::size_t i = 0; i < piece.size() && state_ != State::kOther; ++i) {
      const char c = piece[i];
      if (state_ == State::kBlank) {
        state_ = c == ' ' || c == '\t' ? State::kBlank
                 : c == '('            ? State::kFace
                 : c == '"'            ? State::kKey
                                       : State::kOther;
        matched_ = 1;
      } else if (state_ == State::kFace) {
        // A face's texture axes in Valve 220 form are the only "[" in a face line.
        if (!copied.valveFaces) {
          copied.valveFaces = piece.find('[', i) != std::string_view::npos;
        }
        return;
      } else if (state_ == State::kKey) {
        state_ = platform::ascii::Lower(c) != kFormatKey[matched_] ? State::kOther
                 : ++matched_ == kFormatKey.size()                 ? State::kKeyLine
                                                                   : State::kKey;
      } else {
        return;
      }
    }
  }

  bool IsFormatKey() const { return state_ == State::kKeyLine; }

 private:
  enum class State { kBlank, kFace, kKey, kKeyLine, kOther };
  State state_ = State::kBlank;
  std::size_t matched_ = 0;
};

// Finds the key in a line that arrives in pieces: `carry` holds the end of the line so far, short
// of the key's length, so that a key split between two pieces is found too.
class KeySearch {
 public:
  void Reset() { carry_.clear(); }

  // `more`: more pieces of the line follow.
  bool Found(std::string_view piece, bool more) {
    if (!carry_.empty() && HoldsMapVersion(carry_ + std::string(piece.substr(0, kKeep)))) {
      return true;
    }
    const bool found = HoldsMapVersion(piece);
    if (found || !more) {
      return found;
    }
    carry_ += piece.substr(piece.size() > kKeep ? piece.size() - kKeep : 0);
    carry_.erase(0, carry_.size() > kKeep ? carry_.size() - kKeep : 0);
    return false;
  }

 private:
  static constexpr std::size_t kKeep = 9;  // one less than the key
  std::string carry_;
};

void Check(platform::Error error, const std::string& step) {
  if (error != 0) {
    throw core::SystemFailure(step, error);
  }
}

}  // namespace

CopiedMap CopyKeptLines(platform::FileSystem& fs, platform::File map, platform::File copy,
                        const std::string& mapName, const std::string& copyName) {
  core::LineReader reader(fs, map);
  core::LineWriter writer(fs, copy);
  const std::string readStep = "Cannot read the map file " + mapName;
  const std::string writeStep = "Cannot write the temporary file " + copyName;
  CopiedMap copied;
  LineStart start;
  KeySearch key;
  while (!reader.AtEnd()) {
    start.Reset();
    key.Reset();
    bool dropped = false;
    bool lineEnds = false;
    while (!lineEnds) {
      std::string_view piece;
      Check(reader.ReadPiece(piece, lineEnds), readStep);
      if (!piece.empty() && std::memchr(piece.data(), '\0', piece.size()) != nullptr) {
        copied.holdsNul = true;
        return copied;
      }
      start.Feed(piece, copied);
      if (!dropped && key.Found(piece, !lineEnds)) {
        dropped = true;
        Check(writer.DropLine(), writeStep);
      }
      if (!dropped && !piece.empty()) {
        Check(writer.Append(piece), writeStep);
      }
    }
    if (dropped) {
      copied.formatKeyDropped = copied.formatKeyDropped || start.IsFormatKey();
    } else {
      Check(writer.EndLine(), writeStep);
    }
  }
  Check(reader.error(), readStep);
  Check(writer.Flush(), writeStep);
  return copied;
}

}  // namespace stripper
