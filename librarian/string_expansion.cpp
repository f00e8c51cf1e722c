#include "librarian/string_expansion.h"

#include <algorithm>
#include <climits>

namespace qv {

uint32_t LastChecksum = 0;
int32_t ExpectedAnswerSize = 0;
int32_t AnswerDataOffset = 0;

namespace {

constexpr std::string_view kErrorCaption = "String interpretation error";

constexpr std::string_view kNumberCodeError =
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. The section must be either in the form [#72...], [#71...], #27, "
    "#37, or #73.";
constexpr std::string_view kNumberSignError =
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. The #-code (i.e. #72) must immediately be followed by a + or a * "
    "sign. ";
constexpr std::string_view kNumberSumError =
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. The sum must be one of the types: [#72*23] [#72+4] [#72*4+23]. No "
    "other types are allowed.";
constexpr std::string_view kNumberSecondError =
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. The sum must be one of the types: [#72*23] [#72+4] [#72*4+23]. No "
    "other types are allowed. (This error occured while the program was reading the second "
    "number.)";
constexpr std::string_view kChecksumFormError =
    "There's a problem with the [$...] section in either the request or send string of the "
    "instrument definition. Since you haven't specified the [$R] type, you must use a section "
    "of the type [$31-50] where 31 and 50 refer to the (inclusive) range that the checksum "
    "will be calculated on.";
constexpr std::string_view kChecksumRangeError =
    "There's a problem with the [$...] section in either the request or send string of the "
    "instrument definition. The range you have asked for a checksum on is not available, since "
    "it either includes the checksum byte, or includes data that will be placed after the "
    "checksum byte.";
constexpr std::string_view kAnswerShapeError =
    "There's a problem with the ; section in the request string of the instrument definition. "
    "You must use a section of the type ;90,50 where 90 is the total size of the expected SysEx "
    "message, and 50 is the zero-based offset of the actual stored data (%) within this "
    "message.";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Decimal accumulation that stops at the largest value instead of wrapping:
// a range or a size that large can never name a real byte.
uint32_t AddDigitSaturating(uint32_t value, char digit) {
  uint64_t next = static_cast<uint64_t>(value) * 10 + static_cast<uint64_t>(digit - '0');
  return next > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(next);
}

// The bytes of one message being built, with its nibble state.
class MessageBuilder {
 public:
  explicit MessageBuilder(size_t reserve) { bytes_.reserve(reserve); }

  size_t position() const { return position_; }
  uint8_t at(size_t index) const { return bytes_[index]; }

  void Nibble(int value) {
    Ensure(position_ + 1);
    if (highNibble_) {
      bytes_[position_] = static_cast<uint8_t>(value << 4);
    } else {
      bytes_[position_] = static_cast<uint8_t>(bytes_[position_] | value);
      ++position_;
    }
    highNibble_ = !highNibble_;
  }

  void Byte(uint8_t value) {
    Ensure(position_ + 1);
    bytes_[position_++] = value;
  }

  void Bytes(std::span<const uint8_t> data) {
    Ensure(position_ + data.size());
    for (uint8_t b : data) bytes_[position_++] = b;
  }

  // The message: the bytes before the position. A lone high nibble at the
  // end is not part of it.
  std::vector<uint8_t> Take() {
    bytes_.resize(position_);
    return std::move(bytes_);
  }

 private:
  void Ensure(size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, 0);
  }

  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
  bool highNibble_ = true;
};

class Expander {
 public:
  Expander(StringKind kind, const ExpansionInput& input, Reporter& reporter)
      : kind_(kind), input_(input), reporter_(reporter) {}

  std::vector<uint8_t> Run(std::string_view text) {
    size_t reserve = kRequestBufferSize;
    if (kind_ == StringKind::Send) reserve = input_.data.size() + kSendBufferReserve;
    MessageBuilder out(reserve);
    size_t i = 0;
    while (i < text.size()) {
      char c = text[i];
      if (c == '#') {
        out.Byte(static_cast<uint8_t>(static_cast<uint32_t>(input_.program) & 0xFF));
        ++i;
      } else if (c == '!') {
        out.Nibble(static_cast<int>((input_.channel - 1) & 0x0F));
        ++i;
      } else if (c == '[') {
        // A section reaches to the first "]" behind its "["; one that is
        // never closed takes the rest of the string.
        size_t close = text.find(']', i + 1);
        bool closed = close != std::string_view::npos;
        size_t end = closed ? close : text.size();
        std::string_view body = text.substr(i + 1, end - (i + 1));
        if (!body.empty() && body[0] == '#') {
          ExpandNumberSection(body.substr(1), closed, out);
        } else if (!body.empty() && body[0] == '$') {
          AppendChecksum(body.substr(1), closed, out);
        }
        i = closed ? close + 1 : text.size();
      } else if (c == ';') {
        // The answer shape ends the request string. In a send string it has
        // no meaning: the string ends there and the shape is left alone.
        if (kind_ == StringKind::Request) ParseAnswerShape(text.substr(i + 1));
        break;
      } else if (c == '%') {
        // Only the send string carries program data.
        if (kind_ == StringKind::Send) out.Bytes(input_.data);
        ++i;
      } else {
        int value = HexValue(c);
        if (value >= 0) out.Nibble(value);
        ++i;
      }
    }
    return out.Take();
  }

 private:
  void Report(std::string_view message) {
    reporter_.Show(message, kErrorCaption, BoxIcon::Exclamation, BoxButtons::Ok);
  }

  // body: the text behind "[#" up to (not including) the closing "]".
  void ExpandNumberSection(std::string_view body, bool closed, MessageBuilder& out) {
    if (body.size() < 2) return Report(kNumberCodeError);
    char first = body[0], second = body[1];
    bool mostFirst = first == '7' && (second == '1' || second == '2' || second == '3');
    bool leastFirst = (first == '2' || first == '3') && second == '7';
    if (!mostFirst && !leastFirst) return Report(kNumberCodeError);
    if (body.size() < 3 || (body[2] != '*' && body[2] != '+')) return Report(kNumberSignError);
    char op = body[2];
    uint32_t n1 = 0, n2 = 0;
    bool second_number = false;
    size_t i = 3;
    for (;; ++i) {
      if (i == body.size()) {
        if (!closed) return Report(kNumberSumError);
        break;
      }
      char c = body[i];
      if (IsDigit(c)) {
        n1 = n1 * 10 + static_cast<uint32_t>(c - '0');
      } else if (c == '+' && op == '*') {
        second_number = true;
        ++i;
        break;
      } else {
        return Report(kNumberSumError);
      }
    }
    if (second_number) {
      for (;; ++i) {
        if (i == body.size()) {
          if (!closed) return Report(kNumberSecondError);
          break;
        }
        char c = body[i];
        if (!IsDigit(c)) return Report(kNumberSecondError);
        n2 = n2 * 10 + static_cast<uint32_t>(c - '0');
      }
    }
    uint32_t p = static_cast<uint32_t>(input_.program);
    uint32_t v = op == '+' ? p + n1 : p * n1 + n2;
    uint8_t lo = static_cast<uint8_t>(v & 127);
    uint8_t mid = static_cast<uint8_t>((v >> 7) & 127);
    uint8_t hi = static_cast<uint8_t>((v >> 14) & 127);
    int count = mostFirst ? second - '0' : first - '0';
    if (mostFirst) {
      if (count >= 3) out.Byte(hi);
      if (count >= 2) out.Byte(mid);
      out.Byte(lo);
    } else {
      out.Byte(lo);
      out.Byte(mid);
      if (count >= 3) out.Byte(hi);
    }
  }

  // body: the text behind "[$" up to (not including) the closing "]".
  void AppendChecksum(std::string_view body, bool closed, MessageBuilder& out) {
    if (!body.empty() && (body[0] == 'R' || body[0] == 'r')) {
      if (kind_ == StringKind::Send) {
        // The request string's checksum: expand it again for this program,
        // without sending it.
        Expander request(StringKind::Request, input_, reporter_);
        request.Run(input_.requestString);
      }
      // Inside the request string itself there is nothing to expand again:
      // the checksum is the most recent one.
      out.Byte(static_cast<uint8_t>(LastChecksum & 0xFF));
      return;
    }
    uint32_t a = 0, b = 0;
    size_t i = 0;
    for (;; ++i) {
      if (i == body.size()) return Report(kChecksumFormError);
      char c = body[i];
      if (c == '-') break;
      if (!IsDigit(c)) return Report(kChecksumFormError);
      a = AddDigitSaturating(a, c);
    }
    for (++i;; ++i) {
      if (i == body.size()) {
        if (!closed) return Report(kChecksumFormError);
        break;
      }
      char c = body[i];
      if (!IsDigit(c)) return Report(kChecksumFormError);
      b = AddDigitSaturating(b, c);
    }
    if (out.position() <= b) return Report(kChecksumRangeError);
    uint32_t sum = 0;
    for (uint32_t k = a; k <= b; ++k) sum += out.at(k);
    uint32_t checksum = (128 - (sum & 127)) & 127;
    out.Byte(static_cast<uint8_t>(checksum));
    LastChecksum = checksum;
  }

  // tail: the text behind ";".
  void ParseAnswerShape(std::string_view tail) {
    uint32_t size = 0, offset = 0;
    size_t i = 0;
    for (;; ++i) {
      if (i == tail.size()) return Report(kAnswerShapeError);
      char c = tail[i];
      if (c == ',') break;
      if (!IsDigit(c)) return Report(kAnswerShapeError);
      size = AddDigitSaturating(size, c);
    }
    for (++i; i < tail.size() && tail[i] != ' '; ++i) {
      if (!IsDigit(tail[i])) return Report(kAnswerShapeError);
      offset = AddDigitSaturating(offset, tail[i]);
    }
    ExpectedAnswerSize = static_cast<int32_t>(size > INT32_MAX ? INT32_MAX : size);
    AnswerDataOffset = static_cast<int32_t>(offset > INT32_MAX ? INT32_MAX : offset);
  }

  StringKind kind_;
  const ExpansionInput& input_;
  Reporter& reporter_;
};

}  // namespace

std::vector<uint8_t> ExpandDefinitionString(std::string_view text, StringKind kind,
                                            const ExpansionInput& input, Reporter& reporter) {
  Expander expander(kind, input, reporter);
  return expander.Run(text);
}

std::vector<uint8_t> ExpandRequestString(const InstrumentDefinition& definition, int32_t program,
                                         Reporter& reporter) {
  ExpansionInput input;
  input.channel = definition.channel;
  input.program = program;
  input.requestString = FixedText(definition.requestString);
  return ExpandDefinitionString(input.requestString, StringKind::Request, input, reporter);
}

std::vector<uint8_t> ExpandSendString(const InstrumentDefinition& definition, int32_t program,
                                      std::span<const uint8_t> data, Reporter& reporter) {
  // "%" stands for exactly the program-size bytes of one stored program:
  // shorter data is made up with zeros, longer data is cut.
  std::vector<uint8_t> sized;
  int32_t size = UsableProgramSize(definition);
  if (size >= 0 && data.size() != static_cast<size_t>(size)) {
    sized.assign(static_cast<size_t>(size), 0);
    std::copy_n(data.begin(), std::min(data.size(), sized.size()), sized.begin());
    data = sized;
  }
  ExpansionInput input;
  input.channel = definition.channel;
  input.program = program;
  input.data = data;
  input.requestString = FixedText(definition.requestString);
  return ExpandDefinitionString(FixedText(definition.sendString), StringKind::Send, input,
                                reporter);
}

}  // namespace qv
