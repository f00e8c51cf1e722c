#include "editor/m1_program_dump.h"

#include "editor/seven_in_eight.h"

namespace qv {

namespace {

std::uint8_t KorgChannelByte(int channel) {
  return std::uint8_t(0x30 | ((channel - 1) & 0x0F));
}

}  // namespace

M1ProgramDump PackM1Dump(const M1Program& program, int channel) {
  M1ProgramDump dump{};
  dump[0] = 0xF0;
  dump[1] = 0x42;
  dump[2] = KorgChannelByte(channel);
  dump[3] = 0x19;
  dump[4] = 0x40;
  Pack7in8(program, std::span<std::uint8_t>(dump).subspan(kM1DumpHeaderSize,
                                                          kM1PackedProgramSize));
  dump[kM1ProgramDumpSize - 1] = 0xF7;
  return dump;
}

bool UnpackM1Program(std::span<const std::uint8_t> dump, M1Program& program) {
  if (dump.size() < kM1ProgramDumpSize) return false;
  Unpack7in8(dump.subspan(kM1DumpHeaderSize, kM1PackedProgramSize), program);
  return true;
}

bool UnpackM1Dump(std::span<const std::uint8_t> dump, M1Program& edit_buffer,
                  M1Program& revert_copy) {
  if (!UnpackM1Program(dump, edit_buffer)) return false;
  revert_copy = edit_buffer;
  return true;
}

FollowUpBytes FollowUpMessage(int channel) {
  return {0xF0, 0x42, KorgChannelByte(channel), 0x19, 0x41, 0x00, 0x08, 0x00, 0x00, 0xF7};
}

}  // namespace qv
