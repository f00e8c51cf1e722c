#pragma once
// Explicit little-endian access to fixed-layout records, one field at a time.
#include <cstdint>

namespace qv {

inline uint32_t ReadUint32LE(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t ReadInt32LE(const uint8_t* p) {
  return static_cast<int32_t>(ReadUint32LE(p));
}

inline void WriteUint32LE(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value & 0xFF);
  p[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
  p[2] = static_cast<uint8_t>((value >> 16) & 0xFF);
  p[3] = static_cast<uint8_t>((value >> 24) & 0xFF);
}

inline void WriteInt32LE(uint8_t* p, int32_t value) {
  WriteUint32LE(p, static_cast<uint32_t>(value));
}

}  // namespace qv
