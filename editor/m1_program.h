#pragma once
// The Korg M1 program record as the editor holds it: 143 bytes, one per
// parameter or per packed group of switches.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

inline constexpr std::size_t kM1ProgramSize = 143;
using M1Program = std::array<std::uint8_t, kM1ProgramSize>;

// Byte offsets inside the record.
inline constexpr int kM1NameOffset = 0;
inline constexpr int kM1NameLength = 10;
inline constexpr int kM1OscillatorMode = 10;
inline constexpr int kM1AssignSwitches = 11;
inline constexpr int kM1Multisound1 = 12;
inline constexpr int kM1Octave1 = 13;
inline constexpr int kM1Multisound2 = 14;
inline constexpr int kM1Octave2 = 15;
inline constexpr int kM1Effect1Type = 38;
inline constexpr int kM1Effect2Type = 39;
inline constexpr int kM1Output3Pan = 44;
inline constexpr int kM1Output4Pan = 45;
inline constexpr int kM1EffectPlacement = 46;
inline constexpr int kM1Effect1Block = 47;
inline constexpr int kM1Effect2Block = 55;
inline constexpr int kM1EffectBlockSize = 8;
inline constexpr int kM1Oscillator1Block = 63;
inline constexpr int kM1Oscillator2Block = 103;
// Every per-oscillator field of oscillator 2 lies this far after its twin.
inline constexpr int kM1OscillatorStride = 40;

// Oscillator modes in bits 0-1 of the mode byte.
inline constexpr int kM1ModeSingle = 0;
inline constexpr int kM1ModeDouble = 1;
inline constexpr int kM1ModeDrum = 2;

// The oscillator mode of a program. Real programs carry other bits in the
// mode byte; only bits 0-1 say single, double or drum.
inline int M1OscillatorModeOf(const std::array<std::uint8_t, kM1ProgramSize>& program) {
  return program[kM1OscillatorMode] & 3;
}

// The octave byte: 1 is 4', 0xFF is 16', anything else plays at 8'.
inline constexpr std::uint8_t kM1Octave4 = 0x01;
inline constexpr std::uint8_t kM1Octave8 = 0x00;
inline constexpr std::uint8_t kM1Octave16 = 0xFF;

// A blank program: every byte zero and a name of ten spaces.
M1Program BlankM1Program();

// The byte as a two's-complement value (-128..127).
inline int SignedByte(std::uint8_t b) { return b >= 0x80 ? int(b) - 0x100 : int(b); }

}  // namespace qv
