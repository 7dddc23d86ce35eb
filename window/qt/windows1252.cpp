#include "window/qt/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace window {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F. The five codes it leaves undefined map
// to the C1 control of the same number, as Windows itself decodes them.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

char16_t Windows1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    return kHighControls[byte - 0x80];
  }
  return byte;
}

struct Utf8Character {
  char32_t code = 0;
  // 0 when no valid character starts here.
  std::size_t length = 0;
  // The start of a character cut short, which takes no place on screen.
  bool cut = false;
};

// The UTF-8 character at the start of `bytes`. Overlong forms, surrogates and codes beyond
// U+10FFFF are not valid.
Utf8Character FirstUtf8Character(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes.front());
  if (lead < 0x80) {
    return {lead, 1};
  }
  Utf8Character character;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    character = {lead & 0x1Fu, 2};
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    character = {lead & 0x0Fu, 3};
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    character = {lead & 0x07u, 4};
    least = 0x10000;
  } else {
    return {};
  }
  if (bytes.size() < character.length) {
    return {};
  }
  for (std::size_t i = 1; i < character.length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[i]);
    if ((next & 0xC0) != 0x80) {
      return {};
    }
    character.code = (character.code << 6) | (next & 0x3Fu);
  }
  const char32_t code = character.code;
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return {};
  }
  return character;
}

// A decision line cuts the WAD's path after a fixed number of bytes, perhaps inside a character,
// and goes on with ": ". The first bytes of a character cut there are taken as such, so that the
// rest of the line still shows as UTF-8, and are left out on screen; anywhere else they are not
// UTF-8.
Utf8Character NextUtf8Character(std::string_view bytes) {
  Utf8Character character = FirstUtf8Character(bytes);
  if (character.length != 0) {
    return character;
  }
  constexpr std::string_view kAfterCut = ": ";
  const std::size_t cut = bytes.find(kAfterCut);
  if (cut == 0 || cut > 3 || cut == std::string_view::npos) {
    return {};
  }
  // A lead byte and continuation bytes that some continuation makes a valid character.
  for (const char filler : {'\x80', '\xBF'}) {
    std::string completed(bytes.substr(0, cut));
    completed.append(4 - cut, filler);
    const Utf8Character whole = FirstUtf8Character(completed);
    if (whole.length > cut) {
      return {0, cut, true};
    }
  }
  return {};
}

// Screen positions a character takes: none for a cut one, two for those beyond the Basic
// Multilingual Plane.
int ScreenLength(const Utf8Character& character) {
  if (character.cut) {
    return 0;
  }
  return character.code >= 0x10000 ? 2 : 1;
}

bool IsUtf8(std::string_view line) {
  while (!line.empty()) {
    const Utf8Character character = NextUtf8Character(line);
    if (character.length == 0) {
      return false;
    }
    line.remove_prefix(character.length);
  }
  return true;
}

void AppendLine(QString& shown, std::string_view line) {
  if (!IsUtf8(line)) {
    for (const char byte : line) {
      shown.append(QChar(Windows1252(static_cast<unsigned char>(byte))));
    }
    return;
  }
  while (!line.empty()) {
    const Utf8Character character = NextUtf8Character(line);
    if (ScreenLength(character) == 2) {
      shown.append(QChar(QChar::highSurrogate(character.code)));
      shown.append(QChar(QChar::lowSurrogate(character.code)));
    } else if (ScreenLength(character) == 1) {
      shown.append(QChar(static_cast<char16_t>(character.code)));
    }
    line.remove_prefix(character.length);
  }
}

// The screen positions taken by the characters of `line` that start before byte `offset`.
int LinePosition(std::string_view line, std::size_t offset) {
  if (!IsUtf8(line)) {
    return static_cast<int>(offset);
  }
  int position = 0;
  for (std::size_t at = 0; at < offset;) {
    const Utf8Character character = NextUtf8Character(line.substr(at));
    position += ScreenLength(character);
    at += character.length;
  }
  return position;
}

// One line of a text and the line break that ends it (none for the last line).
struct Line {
  std::string_view text;
  std::size_t breakLength = 0;
};

Line LineAt(std::string_view bytes, std::size_t start) {
  const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
  std::size_t breakLength = 0;
  if (end < bytes.size()) {
    breakLength = bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
  }
  return {bytes.substr(start, end - start), breakLength};
}

}  // namespace

QString ScreenText(std::string_view bytes) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t start = 0;;) {
    const Line line = LineAt(bytes, start);
    AppendLine(shown, line.text);
    if (line.breakLength == 0) {
      return shown;
    }
    shown.append(QChar(u'\n'));
    start += line.text.size() + line.breakLength;
  }
}

int ScreenPosition(std::string_view bytes, std::size_t offset) {
  offset = std::min(offset, bytes.size());
  int position = 0;
  for (std::size_t start = 0;;) {
    const Line line = LineAt(bytes, start);
    if (offset <= start + line.text.size()) {
      return position + LinePosition(line.text, offset - start);
    }
    position += LinePosition(line.text, line.text.size()) + 1;
    start += line.text.size() + line.breakLength;
    if (offset < start) {
      return position;
    }
  }
}

}  // namespace window
