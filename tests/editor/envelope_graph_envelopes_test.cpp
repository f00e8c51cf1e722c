#include "editor/envelope_graph_envelopes.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

M1Program ProgramWithMode(std::uint8_t mode) {
  M1Program p = BlankM1Program();
  p[kM1OscillatorMode] = mode;
  return p;
}

SettingsRecord Showing(std::initializer_list<int> rows) {
  SettingsRecord s;
  for (int row : rows) ShownSetting(s, row) = 1;
  return s;
}

TEST(GraphRows, KindsOscillatorsLabelsAndSettings) {
  struct Case { int row; EnvelopeKind kind; int oscillator; const char* label; std::int32_t SettingsRecord::*field; };
  const Case cases[] = {
      {kAmp1Row, EnvelopeKind::Amplitude, 1, "Amp", &SettingsRecord::GraphAmp1},
      {kPitch1Row, EnvelopeKind::Pitch, 1, "Pitch", &SettingsRecord::GraphPitch1},
      {kCutoff1Row, EnvelopeKind::Cutoff, 1, "Cutoff", &SettingsRecord::GraphCutoff1},
      {kAmp2Row, EnvelopeKind::Amplitude, 2, "Amp", &SettingsRecord::GraphAmp2},
      {kPitch2Row, EnvelopeKind::Pitch, 2, "Pitch", &SettingsRecord::GraphPitch2},
      {kCutoff2Row, EnvelopeKind::Cutoff, 2, "Cutoff", &SettingsRecord::GraphCutoff2},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(IsEnvelopeRow(c.row));
    EXPECT_EQ(RowKind(c.row), c.kind) << c.row;
    EXPECT_EQ(RowOscillator(c.row), c.oscillator) << c.row;
    EXPECT_EQ(std::string(RowLabel(c.row)), c.label) << c.row;
    SettingsRecord s;
    EXPECT_FALSE(IsShown(s, c.row));
    ShownSetting(s, c.row) = 1;
    EXPECT_EQ(s.*c.field, 1) << c.row;
    EXPECT_TRUE(IsShown(s, c.row));
  }
  for (int row : {kNoEnvelopeRow, 0, 4, 8}) EXPECT_FALSE(IsEnvelopeRow(row)) << row;
}

TEST(GraphRows, ModeBitsOneMeanTwoOscillators) {
  EXPECT_FALSE(HasSecondOscillator(ProgramWithMode(0)));
  EXPECT_TRUE(HasSecondOscillator(ProgramWithMode(1)));
  EXPECT_FALSE(HasSecondOscillator(ProgramWithMode(2)));
  // Only bits 0-1 hold the mode: real programs carry other bits beside it.
  EXPECT_TRUE(HasSecondOscillator(ProgramWithMode(0x81)));
  EXPECT_TRUE(HasSecondOscillator(ProgramWithMode(0x05)));
  EXPECT_FALSE(HasSecondOscillator(ProgramWithMode(0x06)));
}

TEST(GraphRows, ParameterOffsetsOfBothOscillators) {
  const EnvelopeOffsets amp = OffsetsOf(kAmp1Row);
  EXPECT_EQ(amp.start_level, -1);
  EXPECT_EQ(amp.attack_time, 92);
  EXPECT_EQ(amp.attack_level, 93);
  EXPECT_EQ(amp.decay_time, 94);
  EXPECT_EQ(amp.break_level, 95);
  EXPECT_EQ(amp.slope_time, 96);
  EXPECT_EQ(amp.sustain_level, 97);
  EXPECT_EQ(amp.release_time, 98);
  EXPECT_EQ(amp.release_level, -1);
  const EnvelopeOffsets pitch = OffsetsOf(kPitch1Row);
  EXPECT_EQ(pitch.start_level, 63);
  EXPECT_EQ(pitch.attack_time, 64);
  EXPECT_EQ(pitch.attack_level, 65);
  EXPECT_EQ(pitch.decay_time, 66);
  EXPECT_EQ(pitch.break_level, -1);
  EXPECT_EQ(pitch.slope_time, -1);
  EXPECT_EQ(pitch.sustain_level, -1);
  EXPECT_EQ(pitch.release_time, 67);
  EXPECT_EQ(pitch.release_level, 68);
  const EnvelopeOffsets cutoff = OffsetsOf(kCutoff1Row);
  EXPECT_EQ(cutoff.start_level, -1);
  EXPECT_EQ(cutoff.attack_time, 78);
  EXPECT_EQ(cutoff.attack_level, 79);
  EXPECT_EQ(cutoff.decay_time, 80);
  EXPECT_EQ(cutoff.break_level, 81);
  EXPECT_EQ(cutoff.slope_time, 82);
  EXPECT_EQ(cutoff.sustain_level, 83);
  EXPECT_EQ(cutoff.release_time, 84);
  EXPECT_EQ(cutoff.release_level, 85);
  // Oscillator 2's parameters lie 40 bytes further on; missing ones stay missing.
  for (int row : {kAmp1Row, kPitch1Row, kCutoff1Row}) {
    const EnvelopeOffsets one = OffsetsOf(row);
    const EnvelopeOffsets two = OffsetsOf(row + 4);
    const int a[] = {one.start_level, one.attack_time, one.attack_level, one.decay_time,
                     one.break_level, one.slope_time, one.sustain_level, one.release_time,
                     one.release_level};
    const int b[] = {two.start_level, two.attack_time, two.attack_level, two.decay_time,
                     two.break_level, two.slope_time, two.sustain_level, two.release_time,
                     two.release_level};
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(b[i], a[i] < 0 ? -1 : a[i] + 40) << "row " << row << " field " << i;
      EXPECT_LT(b[i], int(kM1ProgramSize));
    }
  }
}

TEST(GraphRows, ReadsSignedParameters) {
  M1Program p = BlankM1Program();
  p[63 + 40] = 0xCE;  // start level -50 of oscillator 2's pitch
  p[64 + 40] = 12;
  p[68 + 40] = 0x9D;  // -99
  const EnvelopeParameters pitch = ReadEnvelope(p, kPitch2Row);
  EXPECT_EQ(pitch.start_level, -50);
  EXPECT_EQ(pitch.attack_time, 12);
  EXPECT_EQ(pitch.release_level, -99);
  EXPECT_EQ(ReadEnvelope(p, kPitch1Row).start_level, 0);
}

TEST(GraphRows, MarginRowUnderThePointer) {
  struct Case { int y; int height; int row; };
  const Case cases[] = {
      {0, 200, 0},   {24, 200, 0},  {25, 200, 1},  {99, 200, 3}, {100, 200, 4},
      {199, 200, 7}, {250, 200, 7}, {-3, 200, 0},  {75, 203, 2}, {76, 203, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MarginRowAt(c.y, c.height), c.row) << "y " << c.y << " of " << c.height;
}

TEST(GraphRows, PressOnAMarginRow) {
  struct Case {
    const char* what;
    std::uint8_t mode;
    std::initializer_list<int> shown_before;
    int selected_before;
    int row;
    int shown_after;  // the row's setting afterwards, or -1 for a label row
    int selected_after;
  };
  const Case cases[] = {
      {"oscillator 1 switched on is selected", 0, {}, kNoEnvelopeRow, kPitch1Row, 1, kPitch1Row},
      {"switched off keeps the selection", 0, {kAmp1Row}, kAmp1Row, kAmp1Row, 0, kAmp1Row},
      {"oscillator 2 on in a single program is not selected", 0, {kAmp1Row}, kAmp1Row, kAmp2Row, 1, kAmp1Row},
      {"oscillator 2 on in a double program is selected", 1, {kAmp1Row}, kAmp1Row, kCutoff2Row, 1, kCutoff2Row},
      {"Osc. 1 label does nothing", 1, {kAmp1Row}, kAmp1Row, 0, -1, kAmp1Row},
      {"Osc. 2 label does nothing", 1, {kAmp1Row}, kAmp1Row, 4, -1, kAmp1Row},
  };
  for (const Case& c : cases) {
    SettingsRecord s = Showing(c.shown_before);
    const SettingsRecord before = s;
    const int selected = ToggleMarginRow(c.row, c.selected_before, s, ProgramWithMode(c.mode));
    EXPECT_EQ(selected, c.selected_after) << c.what;
    if (c.shown_after >= 0) {
      EXPECT_EQ(ShownSetting(s, c.row), c.shown_after) << c.what;
    } else {
      for (int row : kSelectionOrder) EXPECT_EQ(IsShown(s, row), IsShown(before, row)) << c.what;
    }
  }
}

TEST(GraphRows, PaintSettlesTheSelection) {
  struct Case {
    const char* what;
    std::uint8_t mode;
    std::initializer_list<int> shown;
    int selected;
    int settled;
  };
  const Case cases[] = {
      {"a shown selection stays", 0, {kAmp1Row, kCutoff1Row}, kCutoff1Row, kCutoff1Row},
      {"a hidden selection moves to the first shown", 0, {kCutoff1Row, kPitch1Row}, kAmp1Row, kPitch1Row},
      {"none takes the first shown in order", 1, {kCutoff2Row, kAmp2Row}, kNoEnvelopeRow, kAmp2Row},
      {"oscillator 2 of a single program is dropped", 0, {kAmp2Row, kCutoff1Row}, kAmp2Row, kCutoff1Row},
      {"oscillator 2 of a double program stays", 1, {kAmp2Row, kCutoff1Row}, kAmp2Row, kAmp2Row},
      // The first-shown step does not look at the mode.
      {"only oscillator 2 shown in a single program", 0, {kAmp2Row}, kNoEnvelopeRow, kAmp2Row},
      {"nothing shown", 1, {}, kPitch1Row, kNoEnvelopeRow},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SettleSelection(c.selected, Showing(c.shown), ProgramWithMode(c.mode)), c.settled)
        << c.what;
  }
}

TEST(GraphExtents, ReachOfTheCountedEnvelopes) {
  M1Program p = ProgramWithMode(0);
  EXPECT_EQ(ComputeExtents(p).left, 70);
  EXPECT_EQ(ComputeExtents(p).right, 70);

  p[92] = 10;  // amplitude 1: 10 + 40 + 53 pixels
  p[94] = 20;
  p[96] = 30;
  p[67] = 50;  // pitch 1 release: 90 pixels
  EXPECT_EQ(ComputeExtents(p).left, 70 + 10 + 40 + 53);
  EXPECT_EQ(ComputeExtents(p).right, 70 + 90);

  // Pitch counts attack and decay only: its release time is not in the left reach.
  p[64 + 40] = 99;
  p[66 + 40] = 99;
  p[84 + 40] = 99;  // cutoff 2 release
  EXPECT_EQ(ComputeExtents(p).left, 70 + 10 + 40 + 53) << "oscillator 2 of a single program";
  p[kM1OscillatorMode] = 1;
  EXPECT_EQ(ComputeExtents(p).left, 70 + 2 * 12140);
  EXPECT_EQ(ComputeExtents(p).right, 70 + 12140);
}

TEST(GraphExtents, OscillatorOneCountsWhetherShownOrNot) {
  M1Program p = ProgramWithMode(0);
  p[80] = 50;  // cutoff 1 decay
  EXPECT_EQ(ComputeExtents(p).left, 160);
}

TEST(GraphCurves, AmplitudePointsAndHandles) {
  const GraphLayout layout = MakeGraphLayout(400, 200, 17);  // G 183, L 247, divider 317
  M1Program p = ProgramWithMode(0);
  p[92] = 10;  // attack time, 10 px
  p[93] = 99;  // attack level
  p[94] = 20;  // decay, 40 px
  p[95] = 50;  // break level
  p[96] = 30;  // slope, 53 px
  p[97] = 0;   // sustain level
  p[98] = 50;  // release, 90 px
  const GraphScroll scroll{-5, -7, 300, 400};
  const EnvelopeCurve c = BuildCurve(p, kAmp1Row, layout, scroll);
  const std::vector<GraphPoint> left = {
      {65, 183}, {75, 0}, {115, 91}, {168, 183}, {-5 + 300 + 400 + 70, 183}};
  const std::vector<GraphPoint> right = {{310, 183}, {400, 183}};
  EXPECT_EQ(c.left, left);
  EXPECT_EQ(c.right, right);
  EXPECT_FALSE(c.handles[0]);
  EXPECT_EQ(c.handles[1], left[1]);
  EXPECT_EQ(c.handles[2], left[2]);
  EXPECT_EQ(c.handles[3], left[3]);
  EXPECT_EQ(c.handles[4], right[0]);
  EXPECT_EQ(c.handles[5], right[1]);
  EXPECT_FALSE(c.handles[6]);
  EXPECT_EQ(c.p1, left[1]);
  EXPECT_EQ(c.p2, left[2]);
}

TEST(GraphCurves, PitchDecaysToZeroAndHoldsItsReleaseLevel) {
  const GraphLayout layout = MakeGraphLayout(400, 200, 17);
  M1Program p = ProgramWithMode(1);
  p[63 + 40] = 0xCE;  // start -50
  p[64 + 40] = 20;    // attack 40 px
  p[65 + 40] = 99;
  p[66 + 40] = 10;    // decay 10 px
  p[67 + 40] = 50;    // release 90 px
  p[68 + 40] = 0x9D;  // -99
  const GraphScroll scroll{0, 0, 200, 300};
  const EnvelopeCurve c = BuildCurve(p, kPitch2Row, layout, scroll);
  const std::vector<GraphPoint> left = {{70, 137}, {110, 0}, {120, 91}, {670, 91}};
  const std::vector<GraphPoint> right = {{317, 91}, {407, 182}, {247 + 300 + 69, 182}};
  EXPECT_EQ(c.left, left);
  EXPECT_EQ(c.right, right);
  EXPECT_EQ(c.handles[0], left[0]);
  EXPECT_EQ(c.handles[1], left[1]);
  EXPECT_EQ(c.handles[2], left[2]);
  EXPECT_FALSE(c.handles[3]);
  EXPECT_FALSE(c.handles[4]) << "the release starts without a handle";
  EXPECT_EQ(c.handles[5], right[1]);
  EXPECT_EQ(c.handles[6], right[2]);
}

TEST(GraphCurves, CutoffHasSixHandles) {
  const GraphLayout layout = MakeGraphLayout(400, 200, 17);
  M1Program p = ProgramWithMode(0);
  p[81] = 0xCE;  // break -50
  p[83] = 50;    // sustain
  p[85] = 0x9D;  // release level -99
  const GraphScroll scroll{0, 0, 120, 120};
  const EnvelopeCurve c = BuildCurve(p, kCutoff1Row, layout, scroll);
  const std::vector<GraphPoint> left = {{70, 91}, {70, 91}, {70, 137}, {70, 45}, {590, 45}};
  const std::vector<GraphPoint> right = {{317, 45}, {317, 182}, {247 + 120 + 69, 182}};
  EXPECT_EQ(c.left, left);
  EXPECT_EQ(c.right, right);
  EXPECT_FALSE(c.handles[0]);
  for (int n = 1; n <= 6; ++n) EXPECT_TRUE(c.handles[std::size_t(n)]) << "P" << n;
}

TEST(GraphCurves, WhichEnvelopeHasWhichHandle) {
  const char* expected[] = {"-12345-", "012--56", "-123456"};
  const int rows[] = {kAmp1Row, kPitch1Row, kCutoff1Row};
  for (int k = 0; k < 3; ++k) {
    std::string has;
    for (int n = 0; n < kHandleCount; ++n) {
      has += HasHandle(rows[k], n) ? char('0' + n) : '-';
      EXPECT_EQ(HasHandle(rows[k], n), HasHandle(rows[k] + 4, n));
    }
    EXPECT_EQ(has, expected[k]);
    const EnvelopeCurve c = BuildCurve(ProgramWithMode(1), rows[k], MakeGraphLayout(300, 200, 17), {});
    for (int n = 0; n < kHandleCount; ++n)
      EXPECT_EQ(bool(c.handles[std::size_t(n)]), HasHandle(rows[k], n)) << rows[k] << " P" << n;
  }
}

}  // namespace
}  // namespace qv
