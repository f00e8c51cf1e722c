#pragma once
// The instrument definition: how the librarian talks to one model of MIDI
// instrument. It is a 2048-byte little-endian record, which is also the
// first 2048 bytes of a definition file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

inline constexpr size_t kDefinitionRecordSize = 2048;
inline constexpr size_t kDefinitionStringSize = 450;   // request and send strings
inline constexpr size_t kNameOffsetsSize = 100;
inline constexpr size_t kNotesSize = 1012;
inline constexpr int32_t kHighestProgramLimit = 2048;
inline constexpr int32_t kProgramSizeLimit = 32000;

struct InstrumentDefinition {
  uint32_t channel = 0;          // 1 to 16; "!" stands for channel - 1
  int32_t lowestProgram = 0;
  int32_t highestProgram = 0;
  int32_t displayOffset = 0;     // added to shown program numbers only
  int32_t programSize = 0;       // bytes of one stored program
  uint32_t nameExtraction = 0;   // 1: names come out of the received data
  uint32_t autoUpdate = 0;       // 1: names are fetched on entering the librarian
  int32_t inputPort = 0;         // positions in the MIDI port lists
  int32_t outputPort = 0;
  // Zero-terminated texts. Bytes behind the zero have no meaning but are
  // kept, so a record is written back exactly as it was read.
  std::array<char, kDefinitionStringSize> requestString{};
  std::array<char, kDefinitionStringSize> sendString{};
  std::array<char, kNameOffsetsSize> nameOffsets{};
  std::array<char, kNotesSize> notes{};
};

// The text of a fixed field: up to its first zero byte, or the whole field
// when it holds none.
template <size_t N>
std::string_view FixedText(const std::array<char, N>& field) {
  size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string_view(field.data(), length);
}

// Puts text into a fixed field: at most N - 1 characters and a zero byte;
// the bytes behind the zero stay as they were.
template <size_t N>
void SetFixedText(std::array<char, N>& field, std::string_view text) {
  size_t length = text.size() < N - 1 ? text.size() : N - 1;
  for (size_t i = 0; i < length; ++i) field[i] = text[i];
  field[length] = '\0';
}

// Field-by-field conversion between the record and its 2048 bytes.
void EncodeInstrumentDefinition(const InstrumentDefinition& definition,
                                uint8_t* record /* kDefinitionRecordSize bytes */);
InstrumentDefinition DecodeInstrumentDefinition(const uint8_t* record /* kDefinitionRecordSize bytes */);

// The program size when it lies in 0 to 32000, otherwise -1: a record read
// from a broken file may hold anything here.
int32_t UsableProgramSize(const InstrumentDefinition& definition);

// Whether the numbers lie in the ranges the definition dialog accepts:
// channel 1 to 16, 0 <= lowest <= highest <= 2048, program size 0 to
// 32000. A file that holds others is damaged, not a definition.
bool HoldsAcceptedNumbers(const InstrumentDefinition& definition);

// The one definition that is current for the whole process (all zeros at
// start) and its name, empty until a definition is loaded.
extern InstrumentDefinition CurrentDefinition;
extern std::string CurrentDefinitionName;

}  // namespace qv
