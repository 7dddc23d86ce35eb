#pragma once

// Text-box output helpers and the text box they work on. A text box holds bytes in the 8-bit
// character set; lines in it are separated by CR LF.

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

class TextBox {
 public:
  virtual ~TextBox() = default;

  // The whole text, byte for byte as it was put in.
  virtual const std::string& Text() const = 0;
  // Replaces the whole text.
  virtual void SetText(std::string text) = 0;
  // The same text as SetText(Text() + addition), at a cost in proportion to the addition; the caret
  // stays where it was.
  virtual void AppendText(std::string_view addition) = 0;
  // Caret position in characters, 0 before the first; beyond the end means the end. Moving the
  // caret scrolls it into view.
  virtual void SetSelStart(std::int32_t start) = 0;
  virtual void SetSelLength(std::int32_t length) = 0;
};

// Appends CR LF and `line` (the break goes in front), then scrolls to the end.
void AppendLineToTextBox(TextBox& box, std::string line);
// Puts the caret after the last character with nothing selected.
void ScrollTextBoxToEnd(TextBox& box);
// `text` padded with spaces on the right, or cut, to exactly `width` characters (none for a width
// of 0 or below).
std::string FixedWidth(std::string text, std::int16_t width);

}  // namespace core
