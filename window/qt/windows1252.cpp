#include "window/qt/windows1252.h"

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

char16_t Decode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    return kHighControls[byte - 0x80];
  }
  return byte;
}

}  // namespace

QString ScreenText(std::string_view bytes) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == '\r') {
      shown.append(QChar(u'\n'));
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        ++i;
      }
    } else {
      shown.append(QChar(Decode(byte)));
    }
  }
  return shown;
}

}  // namespace window
