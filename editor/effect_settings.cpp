// The effect parameter boxes: layout by effect type, display, entry and checks.
#include "editor/effect_values.h"
#include "editor/parameter_engine.h"

namespace qv {

namespace {

int TypeByteOf(int effect) { return effect == 1 ? kM1Effect1Type : kM1Effect2Type; }
int BlockOf(int effect) { return effect == 1 ? kM1Effect1Block : kM1Effect2Block; }
int TypeListOf(int effect) { return effect == 1 ? kEffect1TypeList : kEffect2TypeList; }

bool IsEnsembleType(int t) { return t == 23 || t == 24; }
bool IsModulationType(int t) {
  return (t >= 11 && t <= 18) || t == 23 || t == 24 || (t >= 29 && t <= 32);
}

EffectBlock BlockView(const M1Program& p, int effect) {
  return EffectBlock(p.data() + BlockOf(effect), kM1EffectBlockSize);
}

}  // namespace

bool EffectTypesConflict(int t, int u) { return IsEnsembleType(t) && IsModulationType(u); }

void SetEffectTypeBits(M1Program& program, int effect, int type) {
  std::uint8_t* block = program.data() + BlockOf(effect);
  switch (type) {
    case 11: case 12: case 16: case 18: block[2] = std::uint8_t((block[2] & 1) | 2); break;
    case 13: case 14: block[2] = std::uint8_t((block[2] & 1) | 6); break;
    case 15: case 17: block[2] = std::uint8_t(block[2] & 1); break;
    case 29: block[6] = std::uint8_t(block[6] & 1); break;
    case 30: block[6] = 4; break;
    default: break;
  }
}

std::uint8_t* ParameterEngine::EffectBlock(int effect) {
  return state_.edit_buffer.data() + BlockOf(effect);
}

const EffectRow* ParameterEngine::CurrentEffectRow(int box) const {
  const int p = box - kFirstEffectBox;
  if (p < 0 || p >= kEffectBoxCount) return nullptr;
  const EffectLayout* layout = LayoutOfEffectType(state_.edit_buffer[TypeByteOf(state_.effect)]);
  if (!layout) return nullptr;
  const EffectRow& row = (*layout)[p];
  return row.kind == EffectValueKind::None ? nullptr : &row;
}

bool ParameterEngine::ApplyTypeConflictRule(int effect) {
  M1Program& p = state_.edit_buffer;
  const int t = p[TypeByteOf(effect)];
  const int u = p[TypeByteOf(3 - effect)];
  if (!EffectTypesConflict(t, u)) return false;
  p[TypeByteOf(effect)] = kNoEffectType;
  controls_.SelectEntry(TypeListOf(effect), kNoEffectType);
  RefreshControls();
  return true;
}

void ParameterEngine::ClearAndClampEffect(int effect) {
  const EffectLayout* layout = LayoutOfEffectType(state_.edit_buffer[TypeByteOf(effect)]);
  if (!layout) return;
  std::uint8_t* block = EffectBlock(effect);

  bool used[kM1EffectBlockSize] = {};
  for (const EffectRow& row : *layout) {
    if (row.kind == EffectValueKind::None || row.offset < 0) continue;
    used[row.offset] = true;
    if ((row.kind == EffectValueKind::Word || row.kind == EffectValueKind::SpeedWave) &&
        row.offset + 1 < kM1EffectBlockSize)
      used[row.offset + 1] = true;
  }
  for (int i = 0; i < kM1EffectBlockSize; ++i)
    if (!used[i]) block[i] = 0;

  for (const EffectRow& row : *layout) {
    if (row.kind == EffectValueKind::None || row.offset < 0) continue;
    const int lo = RangeLow(row.limit), hi = RangeHigh(row.limit);
    std::uint8_t& b = block[row.offset];
    if (row.kind == EffectValueKind::Word) {
      std::uint8_t& high = block[row.offset + 1];
      const int word = std::int16_t(std::uint16_t(b | high << 8));
      if (word < lo || word > hi) b = high = 0;
      continue;
    }
    const int v = lo < 0 ? SignedByte(b) : int(b);
    if (v < lo || v > hi) b = 0;
    if (hi == 10 && b == 0) b = 1;
  }
}

void ParameterEngine::LayoutEffect(int effect, LayoutMode mode) {
  if (mode != LayoutMode::Show && ApplyTypeConflictRule(effect)) return;

  const int type = state_.edit_buffer[TypeByteOf(effect)];
  const EffectLayout* layout = LayoutOfEffectType(type);
  const bool current = effect == state_.effect;

  if (current && controls_.ProgramPageShown()) {
    for (int p = 0; p < kEffectBoxCount; ++p) {
      // A type beyond the list has no parameters to show.
      const char* label = layout ? (*layout)[p].label : "";
      const char* tooltip = layout ? (*layout)[p].tooltip : "";
      controls_.SetText(kFirstEffectLabel + p, label);
      controls_.Show(kFirstEffectBox + p, label[0] != '\0');
      controls_.SetTooltip(kFirstEffectBox + p, tooltip);
    }
  }

  if (mode == LayoutMode::TypeChosen && layout) {
    ClearAndClampEffect(effect);
    SetEffectTypeBits(state_.edit_buffer, effect, type);
  }

  if (current)
    for (int box = kFirstEffectBox; box < kFirstEffectBox + kEffectBoxCount; ++box)
      ShowEffectParameter(box);
}

void ParameterEngine::ShowEffectParameter(int box) {
  const EffectRow* row = CurrentEffectRow(box);
  if (!row) return;
  controls_.SetText(box, EffectValueText(*row, BlockView(state_.edit_buffer, state_.effect)));
}

void ParameterEngine::StoreEffectParameter(int box, int number) {
  const EffectRow* row = CurrentEffectRow(box);
  if (!row) return;
  const EffectEntry entry = ReadEffectEntry(*row, controls_.GetText(box), number);
  std::uint8_t* block = EffectBlock(state_.effect);
  if (entry.wave >= 0 && row->offset + 1 < kM1EffectBlockSize) {
    std::uint8_t& wave = block[row->offset + 1];
    wave = entry.wave ? (wave | 1) : (wave & ~1);
  }
  if (!entry.value) return;
  if (row->kind == EffectValueKind::Word) {
    block[row->offset] = std::uint8_t(*entry.value & 0xFF);
    block[row->offset + 1] = std::uint8_t((*entry.value >> 8) & 0xFF);
  } else {
    block[row->offset] = std::uint8_t(*entry.value);
  }
  controls_.SendEditBuffer();
}

void ParameterEngine::ValidateEffectParameter(int box, int number) {
  const EffectRow* row = CurrentEffectRow(box);
  if (!row) return;
  const std::string text = controls_.GetText(box);
  const EffectEntry entry = ReadEffectEntry(*row, text, number);
  if (entry.problem == EffectEntryProblem::None) return;
  // The program's own value, shown and left alone, passes.
  if (text == EffectValueText(*row, BlockView(state_.edit_buffer, state_.effect))) return;
  ReportInputError(box, EffectEntryMessage(*row, entry.problem));
}

}  // namespace qv
