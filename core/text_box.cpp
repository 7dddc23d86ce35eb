#include "core/text_box.h"

#include <limits>

namespace core {

void AppendLineToTextBox(TextBox& box, std::string line) {
  box.AppendText("\r\n" + line);
  ScrollTextBoxToEnd(box);
}

void ScrollTextBoxToEnd(TextBox& box) {
  const std::size_t length = box.Text().size();
  const std::int32_t largest = std::numeric_limits<std::int32_t>::max();
  box.SetSelStart(length < static_cast<std::size_t>(largest) ? static_cast<std::int32_t>(length) + 1
                                                             : largest);
  box.SetSelLength(0);
}

std::string FixedWidth(std::string text, std::int16_t width) {
  const std::size_t target = width > 0 ? static_cast<std::size_t>(width) : 0;
  text.resize(target, ' ');
  return text;
}

}  // namespace core
