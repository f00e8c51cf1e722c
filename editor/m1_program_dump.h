#pragma once
// The 170-byte message that carries one M1 program, and the fixed message the
// editor sends after each of them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "editor/m1_program.h"

namespace qv {

inline constexpr std::size_t kM1ProgramDumpSize = 170;
inline constexpr std::size_t kM1DumpHeaderSize = 5;
inline constexpr std::size_t kM1PackedProgramSize = 164;
using M1ProgramDump = std::array<std::uint8_t, kM1ProgramDumpSize>;

inline constexpr std::size_t kFollowUpMessageSize = 10;
using FollowUpBytes = std::array<std::uint8_t, kFollowUpMessageSize>;

// Builds the dump of a program for the global MIDI channel (1..16; other
// values keep their low four bits so that the header stays a data byte).
M1ProgramDump PackM1Dump(const M1Program& program, int channel);

// Takes the 143 program bytes out of a received dump. The five header bytes
// are not examined. A message shorter than a dump is refused (false) and
// leaves the program untouched.
bool UnpackM1Program(std::span<const std::uint8_t> dump, M1Program& program);

// Fills the edit buffer from a received dump and copies it into the revert
// copy. False (both untouched) when the message is too short to be a dump.
bool UnpackM1Dump(std::span<const std::uint8_t> dump, M1Program& edit_buffer,
                  M1Program& revert_copy);

// F0 42 3n 19 41 00 08 00 00 F7, sent after every dump, on the same global
// channel as the dump (channel 1 gives 0x30).
FollowUpBytes FollowUpMessage(int channel = 1);

}  // namespace qv
