#pragma once
// The names the editor shows in its multisound and effect type lists.
#include <array>

namespace qv {

inline constexpr int kMultisoundCount = 100;
inline constexpr int kEffectTypeCount = 34;
inline constexpr int kNoEffectType = 33;

// Indexed by the multisound byte (12 or 14), in list order.
extern const std::array<const char*, kMultisoundCount> MultisoundNames;
// Indexed by the effect type byte (38 or 39), in list order.
extern const std::array<const char*, kEffectTypeCount> EffectTypeNames;

}  // namespace qv
