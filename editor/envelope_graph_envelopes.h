#pragma once
// The six envelopes of the graph: their margin rows, their parameters in the
// program record, whether they are shown, which one is selected, and the
// points each one is drawn through.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "editor/envelope_graph_geometry.h"
#include "editor/m1_program.h"
#include "settings/settings.h"

namespace qv {

enum class EnvelopeKind { Amplitude, Pitch, Cutoff };

// Margin rows of the envelope buttons; rows 0 and 4 carry "Osc. 1" and "Osc. 2".
inline constexpr int kNoEnvelopeRow = -1;
inline constexpr int kAmp1Row = 1;
inline constexpr int kPitch1Row = 2;
inline constexpr int kCutoff1Row = 3;
inline constexpr int kAmp2Row = 5;
inline constexpr int kPitch2Row = 6;
inline constexpr int kCutoff2Row = 7;
inline constexpr int kGraphRowCount = 8;

// The order in which the paint picks a selection when there is none.
inline constexpr std::array<int, 6> kSelectionOrder = {kAmp1Row,   kPitch1Row, kCutoff1Row,
                                                       kAmp2Row,   kPitch2Row, kCutoff2Row};
// The order in which the curves are drawn: amplitude, cutoff, pitch of each oscillator.
inline constexpr std::array<int, 6> kDrawingOrder = {kAmp1Row,    kCutoff1Row, kPitch1Row,
                                                     kAmp2Row,    kCutoff2Row, kPitch2Row};

bool IsEnvelopeRow(int row);
EnvelopeKind RowKind(int row);   // row must be an envelope row
int RowOscillator(int row);      // 1 or 2
const char* RowLabel(int row);   // "Amp", "Pitch" or "Cutoff"

// The program holds two oscillators only in double mode, as the editor sees it.
bool HasSecondOscillator(const M1Program& program);

// The setting that says whether the row's envelope is shown.
std::int32_t& ShownSetting(SettingsRecord& settings, int row);
bool IsShown(const SettingsRecord& settings, int row);

// The selection as the paint settles it: an oscillator-2 row of a program
// without a second oscillator, or a row not shown, is dropped; with none
// selected the first shown row in selection order is taken.
int SettleSelection(int selected, const SettingsRecord& settings, const M1Program& program);

// The margin row under client y in a client area h pixels high.
int MarginRowAt(int y, int height);

// A press on a margin row: an envelope row's setting toggles between 0 and
// 1; a row switched on becomes the selection (oscillator 2's only when the
// program has a second oscillator). Returns the new selection.
int ToggleMarginRow(int row, int selected, SettingsRecord& settings, const M1Program& program);

// The envelope parameters, by their offsets in the record.
struct EnvelopeParameters {
  int start_level = 0;  // pitch only
  int attack_time = 0;
  int attack_level = 0;
  int decay_time = 0;
  int break_level = 0;    // amplitude and cutoff
  int slope_time = 0;     // amplitude and cutoff
  int sustain_level = 0;  // amplitude and cutoff
  int release_time = 0;
  int release_level = 0;  // pitch and cutoff
};

// The record offsets of one envelope's parameters; -1 where it has none.
struct EnvelopeOffsets {
  int start_level = -1;
  int attack_time = -1;
  int attack_level = -1;
  int decay_time = -1;
  int break_level = -1;
  int slope_time = -1;
  int sustain_level = -1;
  int release_time = -1;
  int release_level = -1;
};

EnvelopeOffsets OffsetsOf(int row);
EnvelopeParameters ReadEnvelope(const M1Program& program, int row);

// How far the content of each section reaches, before the margin of 50.
struct GraphExtents {
  int left = 0;   // Extent1
  int right = 0;  // Extent2
};
// Oscillator 1's envelopes always count, shown or not; oscillator 2's only
// when the program has a second oscillator.
GraphExtents ComputeExtents(const M1Program& program);

// The scroll state of both sections: offsets are never above 0, extents
// include the margin of 50 once the paint has fitted the scroll bars.
struct GraphScroll {
  int offset1 = 0;
  int offset2 = 0;
  int extent1 = 0;
  int extent2 = 0;
};

struct GraphPoint {
  int x = 0;
  int y = 0;
  bool operator==(const GraphPoint&) const = default;
};

inline constexpr int kHandleCount = 7;  // P0..P6

// One envelope's curve: a line through the left points clipped to the left
// section, and one through the right points clipped to the right section;
// handles[n] is Pn where the envelope has that handle.
struct EnvelopeCurve {
  std::vector<GraphPoint> left;
  std::vector<GraphPoint> right;
  std::array<std::optional<GraphPoint>, kHandleCount> handles;
  // Where P1 and P2 lie (every envelope has them), for the drag bounds.
  GraphPoint p1;
  GraphPoint p2;
};

EnvelopeCurve BuildCurve(const M1Program& program, int row, const GraphLayout& layout,
                         const GraphScroll& scroll);

// The handles of the row's envelope (P1 to P5 for amplitude, P0, P1, P2,
// P5, P6 for pitch, P1 to P6 for cutoff).
bool HasHandle(int row, int handle);

}  // namespace qv
