#pragma once
// What the librarian takes out of an instrument's answer: the program name
// and the program data, both at AnswerDataOffset. Nothing is read outside
// the answer.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "librarian/program_name_index.h"

namespace qv {

// Builds a name from the bytes that the name offsets text names: each run
// of decimal digits is the position of the next character, counted from
// dataOffset in the answer. At most 29 characters;
// a zero byte ends the name early. Positions outside the answer add
// nothing.
ProgramName ExtractProgramName(std::span<const uint8_t> answer, int32_t dataOffset,
                               std::string_view nameOffsets);

// The programSize bytes of the answer from dataOffset on; bytes the answer
// does not have are zero.
std::vector<uint8_t> ProgramDataFromAnswer(std::span<const uint8_t> answer, int32_t dataOffset,
                                           int32_t programSize);

}  // namespace qv
