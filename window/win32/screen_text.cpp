#include "window/win32/screen_text.h"

#include <windows.h>

namespace window {

namespace {

// The length of the valid UTF-8 sequence that starts `text`, or 0 when it starts with a byte that
// begins none (a stray continuation byte, an overlong form, a surrogate, a cut sequence).
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) {
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) {
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) {
      return 0;
    }
  }
  return length;
}

// A decision line cuts the WAD's path after a fixed number of bytes, perhaps inside a character,
// and goes on with ": ". The length of such a cut character's first bytes at the start of `text`,
// which take no place on screen, or 0.
std::size_t CutBeforeVerdict(std::string_view text) {
  const std::size_t cut = text.find(": ");
  if (cut == 0 || cut > 3 || cut == std::string_view::npos) {
    return 0;
  }
  for (const char filler : {'\x80', '\xBF'}) {
    std::string completed(text.substr(0, cut));
    completed.append(4 - cut, filler);
    if (Utf8SequenceLength(completed) > cut) {
      return cut;
    }
  }
  return 0;
}

void AppendDecoded(std::wstring& wide, UINT codePage, std::string_view bytes) {
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  const std::size_t end = wide.size();
  wide.resize(end + static_cast<std::size_t>(size));
  MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data() + end, size);
}

}  // namespace

std::string ScreenText(std::string_view bytes, bool afterCr) {
  if (afterCr && !bytes.empty() && bytes.front() == '\n') {
    bytes.remove_prefix(1);
  }
  std::string shown;
  shown.reserve(bytes.size() + bytes.size() / 16);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char byte = bytes[i];
    if (byte == '\r') {
      shown += "\r\n";
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        ++i;
      }
    } else if (byte == '\n') {
      shown += "\r\n";
    } else {
      shown += byte == '\0' ? ' ' : byte;
    }
  }
  return shown;
}

std::wstring ScreenWide(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  std::size_t valid = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t length = Utf8SequenceLength(text.substr(i));
    if (length > 0) {
      i += length;
      continue;
    }
    AppendDecoded(wide, CP_UTF8, text.substr(valid, i - valid));
    if (const std::size_t cut = CutBeforeVerdict(text.substr(i)); cut > 0) {
      i += cut;
    } else {
      AppendDecoded(wide, 1252, text.substr(i, 1));
      ++i;
    }
    valid = i;
  }
  AppendDecoded(wide, CP_UTF8, text.substr(valid));
  return wide;
}

}  // namespace window
