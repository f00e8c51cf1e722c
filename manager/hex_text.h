#pragma once
// The hexadecimal text of the message and acknowledgement editors: what the
// user types is read into bytes, and bytes are written out for editing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"

namespace qv {

// How many characters each editor reads of its text field.
inline constexpr std::size_t kMessageHexLimit = 31999;
inline constexpr std::size_t kAcknowledgementHexLimit = 1545;

inline constexpr char kHexDataCaption[] = "Data entry error";
inline constexpr char kHexDigitsText[] =
    "The hex data may consist only of 0123456789ABCDEF and spaces.";
inline constexpr char kHexPairsText[] =
    "You must enter an exact number of hex pairs: eg 30 4F 2A, and not 8F 1E 4. Use '04' if "
    "necessary.";

enum class HexOutcome {
  Bytes,      // at least one byte was read
  Empty,      // nothing but spaces: nothing is to happen
  BadDigit,   // a character other than 0-9, A-F or a space (reported)
  OddDigits,  // a digit was left without its partner (reported)
};

struct HexParse {
  HexOutcome outcome = HexOutcome::Empty;
  std::vector<std::uint8_t> bytes;  // empty unless outcome is Bytes
};

// Reads at most `limit` characters of `text`: spaces are skipped, every two
// digits make one byte (the first the high four bits), digits need not be
// separated ("304F" is 30 4F). Only capitals count as digits: the text field
// turns letters into capitals before they reach here. Refusals are shown
// through `reporter` under "Data entry error" with the stop icon.
HexParse ParseHexText(std::string_view text, std::size_t limit, Reporter& reporter);

// The bytes as the editors show them: two lower-case digits and a space for
// each ("f0 43 10 f7 ").
std::string HexTextOf(const std::uint8_t* bytes, std::size_t count);

}  // namespace qv
