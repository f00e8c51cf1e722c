#pragma once
// Key numbers shown and typed as key names: C-1 is key 0, C4 key 60, G9 key 127.
#include <string>
#include <string_view>

namespace qv {

inline constexpr int kNotAKeyName = 0xFFFF;

// The name of a key (0..255; keys above 127 only occur in damaged data and
// get a two-digit octave).
std::string FormatKeyName(int key);

// <letter A-G, either case> [#] <octave -1..9>, nothing after the octave but
// blanks. Gives the key 0..127, or kNotAKeyName.
int ParseKeyName(std::string_view text);

}  // namespace qv
