#pragma once
// How an effect parameter is shown, read back from its box and checked, by
// value kind. Pure text and number work; the parameter engine applies it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/effect_layouts.h"

namespace qv {

using EffectBlock = std::span<const std::uint8_t, 8>;

// Modulation speed byte 0..216: 0.03..3.00 Hz ("%04.2f"), 3.1..13.0 Hz
// ("%03.1f"), 14..30 Hz ("%02i").
std::string FormatModulationSpeed(int byte);
// The speed byte a text names, or nothing; the byte must not exceed hi.
std::optional<int> ParseModulationSpeed(std::string_view text, int hi);

// Reverb time byte: 0.2 + 0.1 x byte seconds, one decimal.
std::string FormatReverbTime(int byte);
// <digit>.<digit> (the rest of the text is not read), within 0..hi as a byte.
std::optional<int> ParseReverbTime(std::string_view text, int hi);

// The text a row's box shows for the block.
std::string EffectValueText(const EffectRow& row, EffectBlock block);

// Why an entry is refused.
enum class EffectEntryProblem { None, Range, ReverbForm, SpeedForm, WaveLetter,
                                LowCorner, MidCorner, HighCorner };

// What a box's text means for its row. value: the byte (or word) to store,
// nothing when not taken in. wave: -1 untouched, 0 sine, 1 triangle (kind 6).
struct EffectEntry {
  std::optional<int> value;
  int wave = -1;
  EffectEntryProblem problem = EffectEntryProblem::None;
};
// number is the text read as a whole number (kNotANumber when it is not one).
EffectEntry ReadEffectEntry(const EffectRow& row, std::string_view text, int number);

// The message box text for a refused entry of a row.
std::string EffectEntryMessage(const EffectRow& row, EffectEntryProblem problem);

// The range message shared with the other edit boxes.
std::string RangeMessage(int lo, int hi);

}  // namespace qv
