// Seeded random programs, including bytes no instrument would send (types
// beyond the list, multisounds beyond 99, keys beyond 127, stray switch
// bits): showing them in every view, and entering and leaving every box,
// never reads outside the record, never complains and never changes them.
#include <gtest/gtest.h>

#include <random>

#include "editor/parameter_engine.h"
#include "tests/editor/recording_controls.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

M1Program RandomProgram(std::mt19937& rng, bool in_double_mode) {
  M1Program p;
  for (auto& b : p) b = std::uint8_t(rng());
  if (in_double_mode) p[kM1OscillatorMode] = std::uint8_t((p[kM1OscillatorMode] & 0xFC) | 1);
  return p;
}

TEST(ParameterEngineRandomPrograms, ShowingNeverChangesNorComplains) {
  std::mt19937 rng(20261208);
  for (int n = 0; n < 200; ++n) {
    EditorState state;
    state.edit_buffer = RandomProgram(rng, n % 2 == 0);
    const M1Program received = state.edit_buffer;
    test::RecordingControls controls;
    test::RecordingReporter reporter;
    ParameterEngine engine(state, controls, reporter);
    controls.engine = &engine;
    test::User user(controls, engine);

    for (int oscillator : {1, 2}) {
      for (int effect : {1, 2}) {
        state.oscillator = oscillator;
        state.effect = effect;
        engine.RefreshControls();
        for (const ParameterRow& row : ParameterMap) {
          if (!test::RecordingControls::IsEditBox(row.control)) continue;
          if (controls.enabled.count(row.control) && !controls.enabled[row.control]) continue;
          user.Enter(row.control);
          user.Leave(row.control);
        }
        for (int box = kFirstEffectBox; box < kFirstEffectBox + kEffectBoxCount; ++box) {
          if (!controls.shown[box]) continue;
          user.Enter(box);
          user.Leave(box);
        }
      }
    }
    ASSERT_EQ(state.edit_buffer, received) << "program " << n;
    ASSERT_TRUE(reporter.boxes.empty())
        << "program " << n << ": " << reporter.boxes[0].text;
  }
}

// Every remote edit, on every focused control of random programs, changes at
// most the focused row's own byte, and a data-entry value lands in the range.
TEST(ParameterEngineRandomPrograms, RemoteEditsTouchOnlyTheFocusedByte) {
  std::mt19937 rng(77);
  for (int n = 0; n < 12; ++n) {
    EditorState state;
    state.edit_buffer = RandomProgram(rng, true);
    state.oscillator = 1 + n % 2;
    test::RecordingControls controls;
    test::RecordingReporter reporter;
    ParameterEngine engine(state, controls, reporter);
    controls.engine = &engine;
    engine.RefreshControls();
    for (const ParameterRow& row : ParameterMap) {
      controls.focus = row.control;
      const bool number_box = row.kind == kKindNumber || row.kind == kKindOscillatorNumber ||
                              row.kind == kKindOutputPan || row.kind == kKindKey;
      const int per_oscillator = (row.kind == kKindOscillatorNumber || row.kind == kKindKey) &&
                                         state.oscillator == 2
                                     ? kM1OscillatorStride
                                     : 0;
      const int at = row.byte + per_oscillator;
      for (int mode : {kRemoteSet, kRemoteIncrement, kRemoteDecrement, kRemoteKeyBase + 61}) {
        const M1Program before = state.edit_buffer;
        const int value = int(rng() % 41) - 20;
        engine.ApplyRemoteEdit(value, mode);
        M1Program expected = before;
        expected[at] = state.edit_buffer[at];
        ASSERT_EQ(state.edit_buffer, expected) << row.control << " mode " << mode;
        if (!number_box) {
          ASSERT_EQ(state.edit_buffer, before) << row.control << " mode " << mode;
        } else if (mode == kRemoteSet) {
          const int lo = row.kind == kKindOutputPan ? 1 : RangeLow(row.limit);
          const int b = lo < 0 ? SignedByte(state.edit_buffer[at]) : state.edit_buffer[at];
          EXPECT_GE(b, lo) << row.control;
          EXPECT_LE(b, RangeHigh(row.limit)) << row.control;
        }
      }
    }
    EXPECT_TRUE(reporter.boxes.empty());
  }
}

}  // namespace
}  // namespace qv
