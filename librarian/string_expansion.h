#pragma once
// Expansion of the request and send strings of an instrument definition
// into the bytes of one SysEx message for one program number.
//
// The notation: hexadecimal digits are nibbles ("!" is the nibble
// channel - 1), "#" the low byte of the program number, "[#CCo...]" the
// program number in 7-bit groups, "[$a-b]" a checksum over bytes a to b,
// "[$R]" (send string) the checksum of the request string, "%" (send
// string) the program data, and ";size,offset" (request string) the shape
// of the instrument's answer. Other bracketed text is skipped.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "librarian/instrument_definition.h"

namespace qv {

// The value of the most recent checksum section, kept across expansions.
extern uint32_t LastChecksum;
// Set by the ";" tail of the request string: the total length of the
// instrument's answer and where in it the program data starts.
extern int32_t ExpectedAnswerSize;
extern int32_t AnswerDataOffset;

inline constexpr size_t kRequestBufferSize = 512;
inline constexpr size_t kSendBufferReserve = 512;  // added to the program size

enum class StringKind { Request, Send };

struct ExpansionInput {
  uint32_t channel = 1;                 // 1 to 16
  int32_t program = 0;                  // the instrument's own program number
  std::span<const uint8_t> data;        // "%" in the send string
  std::string_view requestString;       // expanded again by "[$R]" in the send string
};

// Expands one string. Errors inside sections are shown through reporter
// (caption "String interpretation error"); the section then adds nothing
// and the expansion goes on, so the result is still a usable message.
std::vector<uint8_t> ExpandDefinitionString(std::string_view text, StringKind kind,
                                            const ExpansionInput& input, Reporter& reporter);

// The request string of definition for program.
std::vector<uint8_t> ExpandRequestString(const InstrumentDefinition& definition, int32_t program,
                                         Reporter& reporter);
// The send string of definition for program, "%" standing for data.
std::vector<uint8_t> ExpandSendString(const InstrumentDefinition& definition, int32_t program,
                                      std::span<const uint8_t> data, Reporter& reporter);

}  // namespace qv
