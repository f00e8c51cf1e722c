#pragma once
// How each effect type lays out its 8-byte parameter block over the six
// effect parameter boxes.
#include <array>

#include "editor/m1_names.h"

namespace qv {

// The twelve ways an effect parameter is shown, taken in and checked.
enum class EffectValueKind : int {
  None = 0,          // box hidden
  Number = 1,        // the byte, unsigned when the limit is above 127
  ReverbTime = 2,    // 0.2 + 0.1 x byte seconds, typed as <digit>.<digit>
  ReflectionTime = 3,// 100 + 10 x byte ms
  Word = 4,          // 16-bit word, low byte first
  Speed = 5,         // modulation speed 0..216 in three scales
  SpeedWave = 6,     // speed followed by S or T; the wave in bit 0 of the next byte
  LowCorner = 7,     // 250, 500, 1000 Hz
  MidCorner = 8,     // 500, 1000, 2000 Hz
  HighCorner = 9,    // 1000, 2000, 4000 Hz
  EmphasisPoint = 10,// 1..10
  ShortReflectionTime = 11,  // as ReflectionTime
};

struct EffectRow {
  int offset;  // within the effect's block; -1 for a row without a parameter
  int limit;   // -N: -N..+N; N: 0..N
  EffectValueKind kind;
  const char* label;    // empty: box hidden
  const char* tooltip;
};

inline constexpr int kEffectBoxCount = 6;
inline constexpr int kEffectLayoutCount = 23;
inline constexpr int kFirstEffectBox = 3145;
inline constexpr int kFirstEffectLabel = 3151;

using EffectLayout = std::array<EffectRow, kEffectBoxCount>;

extern const std::array<int, kEffectTypeCount> EffectLayoutOfType;
extern const std::array<EffectLayout, kEffectLayoutCount> EffectLayouts;

// The layout of an effect type; nullptr for a type byte beyond the list
// (only a damaged or foreign program holds one).
const EffectLayout* LayoutOfEffectType(int type);

}  // namespace qv
