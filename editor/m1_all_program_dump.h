#pragma once
// The M1's dump of all its programs: F0 42 3n 19 4C <bank> <packed> F7,
// where the whole stream of 143-byte records is packed in one piece.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "editor/m1_program.h"

namespace qv {

// The M1 holds 100 programs; a dump carries at most that many.
inline constexpr std::size_t kM1AllDumpPrograms = 100;

// The programs of an all-program dump, in order. Nothing when the message is
// not one (wrong header, no end byte, not even one whole program, or more
// than 100). Bytes of a trailing partial record are dropped.
std::optional<std::vector<M1Program>> SplitM1AllProgramDump(
    std::span<const std::uint8_t> message);

}  // namespace qv
