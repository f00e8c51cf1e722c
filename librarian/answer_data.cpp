#include "librarian/answer_data.h"

#include <algorithm>

namespace qv {

namespace {

// The byte at dataOffset + position in the answer, or -1 outside it.
int ByteAt(std::span<const uint8_t> answer, int32_t dataOffset, uint64_t position) {
  int64_t index = static_cast<int64_t>(dataOffset) + static_cast<int64_t>(position);
  if (position > answer.size() || index < 0 || static_cast<uint64_t>(index) >= answer.size()) {
    return -1;
  }
  return answer[static_cast<size_t>(index)];
}

}  // namespace

ProgramName ExtractProgramName(std::span<const uint8_t> answer, int32_t dataOffset,
                               std::string_view nameOffsets) {
  ProgramName name{};
  size_t length = 0;
  uint64_t value = 0;
  bool inToken = false;
  // A token still open when the text ends counts as if a separator closed
  // it: an offsets text typed or stored without a trailing space keeps its
  // last character.
  for (size_t i = 0; i <= nameOffsets.size(); ++i) {
    if (length == kProgramNameSize - 1) break;
    const char c = i < nameOffsets.size() ? nameOffsets[i] : ' ';
    if (c >= '0' && c <= '9') {
      value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), UINT32_MAX);
      inToken = true;
      continue;
    }
    if (!inToken) continue;
    inToken = false;
    int byte = ByteAt(answer, dataOffset, value);
    value = 0;
    if (byte < 0) continue;
    if (byte == 0) break;
    name[length++] = static_cast<char>(byte);
  }
  return name;
}

std::vector<uint8_t> ProgramDataFromAnswer(std::span<const uint8_t> answer, int32_t dataOffset,
                                           int32_t programSize) {
  std::vector<uint8_t> data(programSize > 0 ? static_cast<size_t>(programSize) : 0, 0);
  for (size_t i = 0; i < data.size(); ++i) {
    int byte = ByteAt(answer, dataOffset, i);
    if (byte >= 0) data[i] = static_cast<uint8_t>(byte);
  }
  return data;
}

}  // namespace qv
