#include "editor/m1_all_program_dump.h"

#include <algorithm>

#include "editor/seven_in_eight.h"

namespace qv {

namespace {
constexpr std::size_t kHeaderSize = 6;  // F0 42 3n 19 4C bank
}

std::optional<std::vector<M1Program>> SplitM1AllProgramDump(
    std::span<const std::uint8_t> message) {
  if (message.size() < kHeaderSize + 1) return std::nullopt;
  if (message[0] != 0xF0 || message[1] != 0x42 || (message[2] & 0xF0) != 0x30 ||
      message[3] != 0x19 || message[4] != 0x4C || message.back() != 0xF7)
    return std::nullopt;
  std::vector<std::uint8_t> stream =
      Unpack7in8(message.subspan(kHeaderSize, message.size() - kHeaderSize - 1));
  std::size_t count = stream.size() / kM1ProgramSize;
  if (count == 0 || count > kM1AllDumpPrograms) return std::nullopt;
  std::vector<M1Program> programs(count);
  for (std::size_t n = 0; n < count; ++n)
    std::copy_n(stream.begin() + std::ptrdiff_t(n * kM1ProgramSize), kM1ProgramSize,
                programs[n].begin());
  return programs;
}

}  // namespace qv
