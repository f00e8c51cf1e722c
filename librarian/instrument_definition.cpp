#include "librarian/instrument_definition.h"

#include "librarian/little_endian.h"

namespace qv {

InstrumentDefinition CurrentDefinition;
std::string CurrentDefinitionName;

namespace {

// Field offsets of the 2048-byte record.
constexpr size_t kChannelAt = 0;
constexpr size_t kLowestAt = 4;
constexpr size_t kHighestAt = 8;
constexpr size_t kDisplayOffsetAt = 12;
constexpr size_t kProgramSizeAt = 16;
constexpr size_t kNameExtractionAt = 20;
constexpr size_t kAutoUpdateAt = 24;
constexpr size_t kInputPortAt = 28;
constexpr size_t kOutputPortAt = 32;
constexpr size_t kRequestAt = 36;
constexpr size_t kSendAt = kRequestAt + kDefinitionStringSize;   // 486
constexpr size_t kNameOffsetsAt = kSendAt + kDefinitionStringSize;  // 936
constexpr size_t kNotesAt = kNameOffsetsAt + kNameOffsetsSize;  // 1036
static_assert(kNotesAt + kNotesSize == kDefinitionRecordSize);

template <size_t N>
void PutChars(uint8_t* record, size_t at, const std::array<char, N>& field) {
  for (size_t i = 0; i < N; ++i) record[at + i] = static_cast<uint8_t>(field[i]);
}

template <size_t N>
void GetChars(const uint8_t* record, size_t at, std::array<char, N>& field) {
  for (size_t i = 0; i < N; ++i) field[i] = static_cast<char>(record[at + i]);
}

}  // namespace

void EncodeInstrumentDefinition(const InstrumentDefinition& d, uint8_t* record) {
  WriteUint32LE(record + kChannelAt, d.channel);
  WriteInt32LE(record + kLowestAt, d.lowestProgram);
  WriteInt32LE(record + kHighestAt, d.highestProgram);
  WriteInt32LE(record + kDisplayOffsetAt, d.displayOffset);
  WriteInt32LE(record + kProgramSizeAt, d.programSize);
  WriteUint32LE(record + kNameExtractionAt, d.nameExtraction);
  WriteUint32LE(record + kAutoUpdateAt, d.autoUpdate);
  WriteInt32LE(record + kInputPortAt, d.inputPort);
  WriteInt32LE(record + kOutputPortAt, d.outputPort);
  PutChars(record, kRequestAt, d.requestString);
  PutChars(record, kSendAt, d.sendString);
  PutChars(record, kNameOffsetsAt, d.nameOffsets);
  PutChars(record, kNotesAt, d.notes);
}

InstrumentDefinition DecodeInstrumentDefinition(const uint8_t* record) {
  InstrumentDefinition d;
  d.channel = ReadUint32LE(record + kChannelAt);
  d.lowestProgram = ReadInt32LE(record + kLowestAt);
  d.highestProgram = ReadInt32LE(record + kHighestAt);
  d.displayOffset = ReadInt32LE(record + kDisplayOffsetAt);
  d.programSize = ReadInt32LE(record + kProgramSizeAt);
  d.nameExtraction = ReadUint32LE(record + kNameExtractionAt);
  d.autoUpdate = ReadUint32LE(record + kAutoUpdateAt);
  d.inputPort = ReadInt32LE(record + kInputPortAt);
  d.outputPort = ReadInt32LE(record + kOutputPortAt);
  GetChars(record, kRequestAt, d.requestString);
  GetChars(record, kSendAt, d.sendString);
  GetChars(record, kNameOffsetsAt, d.nameOffsets);
  GetChars(record, kNotesAt, d.notes);
  return d;
}

int32_t UsableProgramSize(const InstrumentDefinition& definition) {
  int32_t size = definition.programSize;
  return size >= 0 && size <= kProgramSizeLimit ? size : -1;
}

bool HoldsAcceptedNumbers(const InstrumentDefinition& definition) {
  return definition.channel >= 1 && definition.channel <= 16 && definition.lowestProgram >= 0 &&
         definition.lowestProgram <= definition.highestProgram &&
         definition.highestProgram <= kHighestProgramLimit && definition.programSize >= 0 &&
         definition.programSize <= kProgramSizeLimit;
}

}  // namespace qv
