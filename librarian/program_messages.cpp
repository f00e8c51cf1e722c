#include "librarian/program_messages.h"

#include <vector>

#include "librarian/string_expansion.h"

namespace qv {

bool RequestProgram(const InstrumentDefinition& definition, int32_t program, SysExSender& sender,
                    Reporter& reporter) {
  std::vector<uint8_t> message = ExpandRequestString(definition, program, reporter);
  return sender.Send(message.data(), message.size());
}

bool RequestProgram(int32_t program, SysExSender& sender, Reporter& reporter) {
  return RequestProgram(CurrentDefinition, program, sender, reporter);
}

bool SendProgram(const InstrumentDefinition& definition, int32_t program,
                 std::span<const uint8_t> data, SysExSender& sender, Reporter& reporter) {
  std::vector<uint8_t> message = ExpandSendString(definition, program, data, reporter);
  return sender.Send(message.data(), message.size());
}

bool SendProgram(int32_t program, std::span<const uint8_t> data, SysExSender& sender,
                 Reporter& reporter) {
  return SendProgram(CurrentDefinition, program, data, sender, reporter);
}

}  // namespace qv
