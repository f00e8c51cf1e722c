// Display and entry of the fields that ParameterMap binds to controls.
#include <algorithm>

#include "editor/effect_values.h"
#include "editor/indicator_state.h"
#include "editor/key_names.h"
#include "editor/m1_names.h"
#include "editor/parameter_engine.h"
#include "editor/program_name.h"
#include "editor/whole_number.h"

namespace qv {

namespace {

constexpr const char* kInputErrorCaption = "Please correct your input.";

constexpr const char* kKeyNameMessage =
    "To enter key names, you must use the format:\n\n<key letter> [optional # sign] "
    "<octave>\n\nOnly keys in the range C-1 - G9 are valid. For example, A#5, c3, f6, D#-1 "
    "are all valid; F#0 isn't, and nor are E-2 or G#10. ";

constexpr const char* kOctaveMessage =
    "For the oscillator's octave, you can choose from 4', 8', or 16' (don't type  the '). "
    "No other numbers are available.";

bool IsSegmentKind(int kind) { return kind >= kKindSegment0 && kind <= kKindSegment3; }
bool IsRadioKind(int kind) { return kind >= kKindRadio0 && kind <= kKindRadio3; }
bool IsBitKind(int kind) { return kind == kKindBit0 || kind == kKindBit1 || kind == kKindBit7; }
bool IsEditBoxKind(int kind) {
  return kind == kKindNumber || kind == kKindOscillatorNumber || kind == kKindOutputPan ||
         kind == kKindKey || kind == kKindOctave;
}

// The range of an edit box row. An output pan never takes 0, which would
// mean "not mixed in".
int RowLow(const ParameterRow& row) {
  return row.kind == kKindOutputPan ? 1 : RangeLow(row.limit);
}
int RowHigh(const ParameterRow& row) { return RangeHigh(row.limit); }

// The byte as a number of the row's range: signed for signed ranges.
int RowNumber(const ParameterRow& row, std::uint8_t b) {
  return RangeLow(row.limit) < 0 ? SignedByte(b) : int(b);
}

bool OctaveShowsAsEight(std::uint8_t b) { return b != kM1Octave4 && b != kM1Octave16; }

}  // namespace

int ParameterEngine::RowByte(const ParameterRow& row, int oscillator) const {
  if (oscillator != 2) return row.byte;
  switch (row.kind) {
    case kKindOscillatorNumber:
    case kKindKey: return row.byte + kM1OscillatorStride;
    case kKindOscillatorList:
    case kKindMultisound:
    // Oscillator 2's octave is byte 15, two after oscillator 1's, as its
    // multisound is two after oscillator 1's.
    case kKindOctave: return row.byte + 2;
    default:
      if (IsSegmentKind(row.kind)) return row.byte + kM1OscillatorStride;
      return row.byte;
  }
}

std::string ParameterEngine::RowText(const ParameterRow& row) const {
  std::uint8_t b = state_.edit_buffer[RowByte(row, state_.oscillator)];
  switch (row.kind) {
    case kKindKey: return FormatKeyName(b);
    case kKindOctave: return b == kM1Octave4 ? "4" : b == kM1Octave16 ? "16" : "8";
    default: return std::to_string(RowNumber(row, b));
  }
}

void ParameterEngine::ReportInputError(int control, const std::string& text) {
  reporter_.Show(text, kInputErrorCaption, BoxIcon::Stop, BoxButtons::Ok);
  controls_.Focus(control);
}

void ParameterEngine::ReportProgramError() {
  reporter_.Show("Program error.", "debug", BoxIcon::None, BoxButtons::Ok);
}

void ParameterEngine::OnControlEvent(int control, ControlEvent event) {
  if (state_.refresh_guard) return;
  int value = kNotANumber;
  if (event == ControlEvent::TextChanged || event == ControlEvent::GotFocus ||
      event == ControlEvent::LostFocus)
    value = ReadWholeNumber(controls_.GetText(control));
  if (event == ControlEvent::LostFocus)
    ValidateControlValue(control, value);
  else
    StoreControlValue(control, state_.oscillator, value);
}

void ParameterEngine::ShowRow(const ParameterRow& row) {
  const M1Program& p = state_.edit_buffer;
  const int osc = state_.oscillator;
  const int at = RowByte(row, osc);
  const std::uint8_t b = p[at];
  switch (row.kind) {
    case kKindNone: return;
    case kKindNumber:
    case kKindOscillatorNumber:
    case kKindKey:
    case kKindOctave: controls_.SetText(row.control, RowText(row)); return;
    case kKindOscillatorList:
    case kKindMultisound:
      controls_.SelectEntry(row.control, b < kMultisoundCount ? int(b) : -1);
      return;
    case kKindEffectType:
      controls_.SelectEntry(row.control, b < kEffectTypeCount ? int(b) : -1);
      return;
    case kKindOutputPan:
      if (b == 0) {
        controls_.Enable(row.control, false);
      } else {
        controls_.Enable(row.control, true);
        controls_.SetText(row.control, RowText(row));
      }
      return;
    case kKindOutputMix: controls_.SetCheck(row.control, b != 0); return;
    case kKindModulationEnable:
      controls_.SetCheck(row.control, (b & (osc == 2 ? 0x40 : 0x20)) != 0);
      return;
    case kKindPlacement: controls_.SetCheck(row.control, !(b & 0x10)); return;
    default: break;
  }
  if (IsRadioKind(row.kind)) {
    controls_.SetCheck(row.control, (b & 3) == row.kind - kKindRadio0);
  } else if (IsBitKind(row.kind)) {
    controls_.SetCheck(row.control, (b & (1u << (row.kind - kKindBit0))) != 0);
  } else if (IsSegmentKind(row.kind)) {
    int segment = row.kind - kKindSegment0;
    controls_.SetIndicator(row.control, IndicatorStateOfSwitches(b, segment),
                           IndicatorStateOfSwitches(p[at + 1], segment));
  } else {
    ReportProgramError();
  }
}

void ParameterEngine::RefreshControls() {
  const bool was_guarded = state_.refresh_guard;
  state_.refresh_guard = true;
  const M1Program& p = state_.edit_buffer;

  controls_.SetText(kProgramListControl, ProgramListText(state_.program_number, p));

  // Oscillator 2 exists only in double mode.
  const bool double_mode = M1OscillatorModeOf(p) == kM1ModeDouble;
  for (int control : {kOscillator2Radio, kIntervalBox, kDetuneBox, kDelayBox})
    controls_.Enable(control, double_mode);
  if (!double_mode) state_.oscillator = 1;

  controls_.SetCheck(kOscillator1Radio, state_.oscillator == 1);
  controls_.SetCheck(kOscillator2Radio, state_.oscillator == 2);
  controls_.SetCheck(kEffect1Radio, state_.effect == 1);
  controls_.SetCheck(kEffect2Radio, state_.effect == 2);

  LayoutEffect(state_.effect, LayoutMode::Show);

  for (const ParameterRow& row : ParameterMap) ShowRow(row);

  state_.refresh_guard = was_guarded;
  controls_.RedrawGraph();
}

void ParameterEngine::StoreEffectType(const ParameterRow& row) {
  int index = controls_.SelectedEntry(row.control);
  if (index < 0 || index >= kEffectTypeCount) return;
  const int chosen = row.byte == kM1Effect1Type ? 1 : 2;
  const bool changed = state_.edit_buffer[row.byte] != index;
  state_.edit_buffer[row.byte] = std::uint8_t(index);
  for (int e : {1, 2}) {
    LayoutEffect(e, changed && e == chosen ? LayoutMode::TypeChosen
                                           : LayoutMode::OtherTypeChosen);
  }
  controls_.SendEditBuffer();
}

void ParameterEngine::StoreControlValue(int control, int oscillator, int value) {
  const ParameterRow* found = FindParameterRow(control);
  if (!found) {
    StoreEffectParameter(control, value);
    return;
  }
  const ParameterRow& row = *found;
  M1Program& p = state_.edit_buffer;
  const int at = RowByte(row, oscillator);
  std::uint8_t& b = p[at];

  switch (row.kind) {
    case kKindNone: return;
    case kKindNumber:
    case kKindOscillatorNumber:
    case kKindOutputPan:
      if (value < RowLow(row) || value > RowHigh(row)) return;
      b = std::uint8_t(value);
      controls_.SendEditBuffer();
      return;
    case kKindOscillatorList:
    case kKindMultisound: {
      int index = controls_.SelectedEntry(control);
      if (index < 0 || index >= kMultisoundCount) return;
      b = std::uint8_t(index);
      controls_.SendEditBuffer();
      return;
    }
    case kKindEffectType: StoreEffectType(row); return;
    case kKindOutputMix:
      if (!controls_.IsChecked(control)) {
        controls_.Enable(row.limit, false);
        b = 0;
      } else {
        controls_.Enable(row.limit, true);
        controls_.Focus(row.limit);
      }
      controls_.SendEditBuffer();
      return;
    case kKindModulationEnable: {
      std::uint8_t bit = oscillator == 2 ? 0x40 : 0x20;
      b = controls_.IsChecked(control) ? (b | bit) : (b & ~bit);
      controls_.SendEditBuffer();
      return;
    }
    case kKindKey: {
      int key = ParseKeyName(controls_.GetText(control));
      if (key == kNotAKeyName) return;
      b = std::uint8_t(key);
      controls_.SendEditBuffer();
      return;
    }
    case kKindOctave:
      if (value == 4)
        b = kM1Octave4;
      else if (value == 16)
        b = kM1Octave16;
      else if (value == 8) {
        // Any byte but 4' and 16' plays at 8': keep one that already does.
        if (!OctaveShowsAsEight(b)) b = kM1Octave8;
      } else {
        return;
      }
      controls_.SendEditBuffer();
      return;
    case kKindPlacement:
      b = controls_.IsChecked(control) ? (b & ~0x10) : (b | 0x10);
      controls_.SendEditBuffer();
      return;
    default: break;
  }
  if (IsRadioKind(row.kind)) {
    b = std::uint8_t((b & 0xFC) | (row.kind - kKindRadio0));
  } else if (IsBitKind(row.kind)) {
    std::uint8_t bit = std::uint8_t(1u << (row.kind - kKindBit0));
    b = controls_.IsChecked(control) ? (b | bit) : (b & ~bit);
  } else if (IsSegmentKind(row.kind)) {
    const int s = row.kind - kKindSegment0;
    const std::uint8_t clear = std::uint8_t(~((1u << s) | (1u << (s + 4))));
    const int tracking = controls_.IndicatorTrackingBits(control) & 0x11;
    const int velocity = controls_.IndicatorVelocityBits(control) & 0x11;
    p[at] = std::uint8_t((p[at] & clear) | (tracking << s));
    p[at + 1] = std::uint8_t((p[at + 1] & clear) | (velocity << s));
  } else {
    ReportProgramError();
  }
  controls_.SendEditBuffer();
}

void ParameterEngine::ValidateControlValue(int control, int value) {
  const ParameterRow* found = FindParameterRow(control);
  if (!found) {
    ValidateEffectParameter(control, value);
    return;
  }
  const ParameterRow& row = *found;
  if (row.kind == kKindNone) return;
  if (!IsEditBoxKind(row.kind)) {
    // Buttons, lists and indicators hold nothing that could be mistyped.
    if (!IsRadioKind(row.kind) && !IsBitKind(row.kind) && !IsSegmentKind(row.kind) &&
        row.kind != kKindOutputMix && row.kind != kKindModulationEnable &&
        row.kind != kKindPlacement && row.kind != kKindEffectType &&
        row.kind != kKindMultisound && row.kind != kKindOscillatorList)
      ReportProgramError();
    return;
  }
  // A box that still shows the program's own value passes, even where a
  // received program holds a value outside the documented range.
  const std::string text = controls_.GetText(control);
  if (text == RowText(row)) return;

  switch (row.kind) {
    case kKindKey:
      if (ParseKeyName(text) == kNotAKeyName) ReportInputError(control, kKeyNameMessage);
      return;
    case kKindOctave:
      if (value != 4 && value != 8 && value != 16) ReportInputError(control, kOctaveMessage);
      return;
    default:
      if (value < RowLow(row) || value > RowHigh(row))
        ReportInputError(control, RangeMessage(RowLow(row), RowHigh(row)));
      return;
  }
}

void ParameterEngine::ApplyRemoteEdit(int value, int mode) {
  const ParameterRow* row = FindParameterRow(controls_.FocusedControl());
  if (!row) return;
  const bool number_kind = row->kind == kKindNumber || row->kind == kKindOscillatorNumber ||
                           row->kind == kKindOutputPan || row->kind == kKindKey;
  std::uint8_t& b = state_.edit_buffer[RowByte(*row, state_.oscillator)];
  bool applied = false;

  if ((mode == kRemoteSet || mode == kRemoteIncrement || mode == kRemoteDecrement) &&
      number_kind) {
    const int lo = RowLow(*row), hi = RowHigh(*row);
    int current = RowNumber(*row, b);
    if (mode == kRemoteSet) {
      // The data-entry slider spans -10..+10; values beyond it count as its ends.
      int position = std::clamp(value, -10, 10);
      current = (hi - lo) * (position + 10) / 20 + lo;
    } else if (mode == kRemoteIncrement) {
      if (current < hi) ++current;
    } else {
      if (current > lo) --current;
    }
    b = std::uint8_t(current);
    applied = true;
  } else if (mode >= kRemoteKeyBase && mode <= kRemoteKeyBase + 127 && row->kind == kKindKey) {
    b = std::uint8_t(mode - kRemoteKeyBase);
    applied = true;
  }
  if (!applied) return;
  controls_.SendEditBuffer();
  RefreshControls();
}

}  // namespace qv
