#include "manager/hex_text.h"

namespace qv {

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

HexParse ParseHexText(std::string_view text, std::size_t limit, Reporter& reporter) {
  HexParse result;
  const std::size_t end = text.size() < limit ? text.size() : limit;
  int held = -1;  // the high digit waiting for its partner
  for (std::size_t i = 0; i < end; ++i) {
    const char c = text[i];
    if (c == ' ') continue;
    const int value = DigitValue(c);
    if (value < 0) {
      reporter.Show(kHexDigitsText, kHexDataCaption, BoxIcon::Stop, BoxButtons::Ok);
      return HexParse{HexOutcome::BadDigit, {}};
    }
    if (held < 0) {
      held = value;
    } else {
      result.bytes.push_back(static_cast<std::uint8_t>(held << 4 | value));
      held = -1;
    }
  }
  if (held >= 0) {
    reporter.Show(kHexPairsText, kHexDataCaption, BoxIcon::Stop, BoxButtons::Ok);
    return HexParse{HexOutcome::OddDigits, {}};
  }
  result.outcome = result.bytes.empty() ? HexOutcome::Empty : HexOutcome::Bytes;
  return result;
}

std::string HexTextOf(const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
    text += ' ';
  }
  return text;
}

}  // namespace qv
