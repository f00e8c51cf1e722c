#include "editor/envelope_graph_envelopes.h"

#include <algorithm>

namespace qv {

bool IsEnvelopeRow(int row) { return row >= 1 && row < kGraphRowCount && row != 4; }

EnvelopeKind RowKind(int row) {
  switch (row % 4) {
    case 1: return EnvelopeKind::Amplitude;
    case 2: return EnvelopeKind::Pitch;
    default: return EnvelopeKind::Cutoff;
  }
}

int RowOscillator(int row) { return row < 4 ? 1 : 2; }

const char* RowLabel(int row) {
  switch (RowKind(row)) {
    case EnvelopeKind::Amplitude: return "Amp";
    case EnvelopeKind::Pitch: return "Pitch";
    default: return "Cutoff";
  }
}

bool HasSecondOscillator(const M1Program& program) {
  return M1OscillatorModeOf(program) == kM1ModeDouble;
}

namespace {

std::int32_t SettingsRecord::*ShownMember(int row) {
  switch (row) {
    case kAmp1Row: return &SettingsRecord::GraphAmp1;
    case kPitch1Row: return &SettingsRecord::GraphPitch1;
    case kCutoff1Row: return &SettingsRecord::GraphCutoff1;
    case kAmp2Row: return &SettingsRecord::GraphAmp2;
    case kPitch2Row: return &SettingsRecord::GraphPitch2;
    default: return &SettingsRecord::GraphCutoff2;
  }
}

}  // namespace

std::int32_t& ShownSetting(SettingsRecord& settings, int row) {
  return settings.*ShownMember(row);
}

bool IsShown(const SettingsRecord& settings, int row) {
  return IsEnvelopeRow(row) && settings.*ShownMember(row) != 0;
}

int SettleSelection(int selected, const SettingsRecord& settings, const M1Program& program) {
  if (IsEnvelopeRow(selected) && RowOscillator(selected) == 2 && !HasSecondOscillator(program))
    selected = kNoEnvelopeRow;
  if (!IsShown(settings, selected)) selected = kNoEnvelopeRow;
  if (selected == kNoEnvelopeRow) {
    for (int row : kSelectionOrder) {
      if (IsShown(settings, row)) return row;
    }
  }
  return selected;
}

int MarginRowAt(int y, int height) {
  for (int i = 1; i <= kGraphRowCount; ++i) {
    if (i * height / 8 > y) return i - 1;
  }
  return kGraphRowCount - 1;
}

int ToggleMarginRow(int row, int selected, SettingsRecord& settings, const M1Program& program) {
  if (!IsEnvelopeRow(row)) return selected;
  std::int32_t& shown = ShownSetting(settings, row);
  shown = shown != 0 ? 0 : 1;
  if (shown != 0 && (RowOscillator(row) == 1 || HasSecondOscillator(program))) return row;
  return selected;
}

EnvelopeOffsets OffsetsOf(int row) {
  EnvelopeOffsets o;
  switch (RowKind(row)) {
    case EnvelopeKind::Amplitude:
      o.attack_time = 92;
      o.attack_level = 93;
      o.decay_time = 94;
      o.break_level = 95;
      o.slope_time = 96;
      o.sustain_level = 97;
      o.release_time = 98;
      break;
    case EnvelopeKind::Pitch:
      o.start_level = 63;
      o.attack_time = 64;
      o.attack_level = 65;
      o.decay_time = 66;
      o.release_time = 67;
      o.release_level = 68;
      break;
    case EnvelopeKind::Cutoff:
      o.attack_time = 78;
      o.attack_level = 79;
      o.decay_time = 80;
      o.break_level = 81;
      o.slope_time = 82;
      o.sustain_level = 83;
      o.release_time = 84;
      o.release_level = 85;
      break;
  }
  if (RowOscillator(row) == 2) {
    for (int* field : {&o.start_level, &o.attack_time, &o.attack_level, &o.decay_time,
                       &o.break_level, &o.slope_time, &o.sustain_level, &o.release_time,
                       &o.release_level}) {
      if (*field >= 0) *field += kM1OscillatorStride;
    }
  }
  return o;
}

EnvelopeParameters ReadEnvelope(const M1Program& program, int row) {
  const EnvelopeOffsets o = OffsetsOf(row);
  auto at = [&program](int offset) {
    return offset >= 0 ? SignedByte(program[std::size_t(offset)]) : 0;
  };
  EnvelopeParameters p;
  p.start_level = at(o.start_level);
  p.attack_time = at(o.attack_time);
  p.attack_level = at(o.attack_level);
  p.decay_time = at(o.decay_time);
  p.break_level = at(o.break_level);
  p.slope_time = at(o.slope_time);
  p.sustain_level = at(o.sustain_level);
  p.release_time = at(o.release_time);
  p.release_level = at(o.release_level);
  return p;
}

GraphExtents ComputeExtents(const M1Program& program) {
  GraphExtents extents;
  const bool second = HasSecondOscillator(program);
  for (int row : kSelectionOrder) {
    if (RowOscillator(row) == 2 && !second) continue;
    const EnvelopeParameters p = ReadEnvelope(program, row);
    const int end = RowKind(row) == EnvelopeKind::Pitch
                        ? LeftX2(p.attack_time, p.decay_time)
                        : LeftX3(p.attack_time, p.decay_time, p.slope_time);
    extents.left = std::max(extents.left, end);
    extents.right = std::max(extents.right, LeftX(p.release_time));
  }
  return extents;
}

EnvelopeCurve BuildCurve(const M1Program& program, int row, const GraphLayout& layout,
                         const GraphScroll& scroll) {
  const EnvelopeParameters p = ReadEnvelope(program, row);
  const EnvelopeKind kind = RowKind(row);
  const int o1 = scroll.offset1;
  const int o2 = scroll.offset2;
  auto level_y = [&](int level) {
    return kind == EnvelopeKind::Amplitude ? UnipolarY(layout, level) : BipolarY(layout, level);
  };
  // The left section's curve runs on at its last level well past the section.
  const int left_end = o1 + scroll.extent1 + layout.width + kGraphMargin;
  // The released level runs on to the end of the right section's content.
  const int right_end = layout.LeftWidth() + o2 + scroll.extent2 + 69;

  EnvelopeCurve c;
  c.p1 = {LeftX(p.attack_time) + o1, level_y(p.attack_level)};
  if (kind == EnvelopeKind::Pitch) {
    const GraphPoint p0{LeftX(0) + o1, level_y(p.start_level)};
    c.p2 = {LeftX2(p.attack_time, p.decay_time) + o1, level_y(0)};
    const GraphPoint p5{RightX(layout, p.release_time) + o2, level_y(p.release_level)};
    const GraphPoint p6{right_end, level_y(p.release_level)};
    c.left = {p0, c.p1, c.p2, {left_end, level_y(0)}};
    c.right = {{RightX(layout, 0) + o2, level_y(0)}, p5, p6};
    c.handles[0] = p0;
    c.handles[1] = c.p1;
    c.handles[2] = c.p2;
    c.handles[5] = p5;
    c.handles[6] = p6;
    return c;
  }
  c.p2 = {LeftX2(p.attack_time, p.decay_time) + o1, level_y(p.break_level)};
  const GraphPoint p3{LeftX3(p.attack_time, p.decay_time, p.slope_time) + o1,
                      level_y(p.sustain_level)};
  const GraphPoint p4{RightX(layout, 0) + o2, level_y(p.sustain_level)};
  c.left = {{LeftX(0) + o1, level_y(0)}, c.p1, c.p2, p3, {left_end, level_y(p.sustain_level)}};
  c.handles[1] = c.p1;
  c.handles[2] = c.p2;
  c.handles[3] = p3;
  c.handles[4] = p4;
  if (kind == EnvelopeKind::Amplitude) {
    const GraphPoint p5{RightX(layout, p.release_time) + o2, level_y(0)};
    c.right = {p4, p5};
    c.handles[5] = p5;
  } else {
    const GraphPoint p5{RightX(layout, p.release_time) + o2, level_y(p.release_level)};
    const GraphPoint p6{right_end, level_y(p.release_level)};
    c.right = {p4, p5, p6};
    c.handles[5] = p5;
    c.handles[6] = p6;
  }
  return c;
}

bool HasHandle(int row, int handle) {
  switch (RowKind(row)) {
    case EnvelopeKind::Amplitude: return handle >= 1 && handle <= 5;
    case EnvelopeKind::Pitch: return handle == 0 || handle == 1 || handle == 2 || handle >= 5;
    default: return handle >= 1 && handle <= 6;
  }
}

}  // namespace qv
