// Hexadecimal text as typed into the message and acknowledgement editors;
// bytes read are written out again, shown in capitals, and read the same.
#include <cctype>
#include <cstdlib>

#include "manager/hex_text.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  fuzz::SilentReporter reporter;
  const size_t limit = in.Byte() % 2 == 0 ? kMessageHexLimit : kAcknowledgementHexLimit;
  const std::string text = in.Text(in.Left());
  const HexParse parse = ParseHexText(text, limit, reporter);
  if (parse.outcome != HexOutcome::Bytes) {
    if (!parse.bytes.empty()) std::abort();
    return 0;
  }
  if (parse.bytes.empty()) std::abort();
  // Written as "%02x " and shown in capitals by the edit field.
  std::string again = HexTextOf(parse.bytes.data(), parse.bytes.size());
  for (char& c : again) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const HexParse reread = ParseHexText(again, again.size() + 1, reporter);
  if (reread.outcome != HexOutcome::Bytes || reread.bytes != parse.bytes) std::abort();
  return 0;
}
