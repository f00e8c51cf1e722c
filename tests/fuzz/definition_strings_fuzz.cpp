// The request and send strings: the check the dialog makes, and the
// expansion with channel, program number, checksums and program data.
#include <cstdlib>

#include "librarian/definition_string_check.h"
#include "librarian/string_expansion.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  fuzz::SilentReporter reporter;
  ExpansionInput input;
  input.channel = 1 + in.Byte() % 16;
  input.program = static_cast<int32_t>(in.Word());
  const std::vector<uint8_t> program = in.Bytes(in.Byte());
  input.data = program;
  const std::string request = in.Text(in.Byte() * 2u);
  input.requestString = request;
  const std::string send = in.Text(in.Left());
  ValidateDefinitionString(request);
  ValidateDefinitionString(send);
  // Each "%" repeats the data: the message grows with the text, never
  // past what the text and the data can make.
  std::vector<uint8_t> asked = ExpandDefinitionString(request, StringKind::Request, input, reporter);
  if (asked.size() > request.size() + 16) std::abort();
  std::vector<uint8_t> sent = ExpandDefinitionString(send, StringKind::Send, input, reporter);
  if (sent.size() > (send.size() + 1) * (program.size() + request.size() + 16)) std::abort();
  return 0;
}
