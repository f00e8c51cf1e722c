#pragma once
// Asking the instrument for a program and sending one to it, through the
// current definition's request and send strings.
#include <cstdint>
#include <span>

#include "base/reporter.h"
#include "librarian/instrument_definition.h"
#include "librarian/sysex_sender.h"

namespace qv {

// Expands the request string for program and sends it. The ";" tail sets
// ExpectedAnswerSize and AnswerDataOffset. Returns what the sender says.
bool RequestProgram(const InstrumentDefinition& definition, int32_t program, SysExSender& sender,
                    Reporter& reporter);
bool RequestProgram(int32_t program, SysExSender& sender, Reporter& reporter);

// Expands the send string for program with "%" standing for data and sends
// it. Returns what the sender says.
bool SendProgram(const InstrumentDefinition& definition, int32_t program,
                 std::span<const uint8_t> data, SysExSender& sender, Reporter& reporter);
bool SendProgram(int32_t program, std::span<const uint8_t> data, SysExSender& sender,
                 Reporter& reporter);

}  // namespace qv
