#pragma once
// The table that binds each control of the editor window to a field of the
// M1 program outside the effect blocks, with the control's tooltip text.
#include <array>

namespace qv {

// Kind codes. For radio buttons, bit check boxes, indicators and the
// placement box the code itself carries a value or a bit number.
enum ParameterKind : int {
  kKindNone = 0,
  kKindNumber = 1,            // edit box, one byte
  kKindOscillatorNumber = 3,  // edit box, per oscillator (+40)
  kKindOscillatorList = 5,    // drop-down list, per oscillator (+2); no row uses it
  kKindOutputPan = 7,         // edit box 1..65, disabled while the byte is 0
  kKindOutputMix = 8,         // check box; the limit names the pan box
  kKindRadio0 = 10,           // radio buttons 10..13: value in bits 0-1
  kKindRadio3 = 13,
  kKindBit0 = 20,             // check boxes 20, 21, 27: bit (kind - 20)
  kKindBit1 = 21,
  kKindBit7 = 27,
  kKindEffectType = 30,       // drop-down list 0..33
  kKindMultisound = 31,       // drop-down list 0..99, per oscillator (+2)
  kKindModulationEnable = 40, // check box: bit 5 (oscillator 1) or bit 6
  kKindKey = 50,              // edit box with a key name, per oscillator (+40)
  kKindSegment0 = 60,         // indicators 60..63: EG segment (kind - 60)
  kKindSegment3 = 63,
  kKindOctave = 70,           // edit box: 4, 8 or 16
  kKindPlacement = 84,        // check box: checked while bit 4 is clear
};

struct ParameterRow {
  int control;
  int byte;   // oscillator 1's byte for per-oscillator fields
  int kind;
  int limit;  // -N: -N..+N; N: 0..N; 0: none; kind 8: the pan box
  const char* tooltip;
};

inline constexpr int kParameterRowCount = 94;
extern const std::array<ParameterRow, kParameterRowCount> ParameterMap;

// Linear search by control identifier; nullptr when the control has no row.
const ParameterRow* FindParameterRow(int control);

// The range of a limit: lo is the limit when negative, else 0; hi its magnitude.
inline int RangeLow(int limit) { return limit < 0 ? limit : 0; }
inline int RangeHigh(int limit) { return limit < 0 ? -limit : limit; }

}  // namespace qv
