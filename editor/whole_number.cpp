#include "editor/whole_number.h"

namespace qv {

int ReadWholeNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  std::size_t first_digit = i;
  long long value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value > 9'999'999) return kNotANumber;
    ++i;
  }
  if (i == first_digit) return kNotANumber;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return kNotANumber;
  return int(negative ? -value : value);
}

}  // namespace qv
