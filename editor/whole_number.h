#pragma once
// Reading an edit box's text as a signed whole number.
#include <string_view>

namespace qv {

// The value the window passes on when a box's text is not a whole number;
// it lies outside every range.
inline constexpr int kNotANumber = 0xFFFFFF;

// Optional blanks, an optional minus sign, decimal digits, optional blanks.
// Anything else, or a magnitude beyond 9,999,999, gives kNotANumber.
int ReadWholeNumber(std::string_view text);

}  // namespace qv
