#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "editor/effect_layouts.h"
#include "editor/m1_names.h"
#include "editor/parameter_map.h"

namespace qv {
namespace {

std::vector<int> Ids(int from, int to) {
  std::vector<int> ids;
  for (int id = from; id <= to; ++id) ids.push_back(id);
  return ids;
}

TEST(ParameterMapTable, RowsComeInTheirOwnOrder) {
  std::vector<int> expected = {3100, 3101, 3102, 3103, 3104};
  for (auto range : {Ids(3105, 3113), Ids(3116, 3140), Ids(3202, 3252)})
    expected.insert(expected.end(), range.begin(), range.end());
  for (int id : {3115, 3114, 3158, 3157}) expected.push_back(id);
  ASSERT_EQ(expected.size(), 94u);
  std::vector<int> actual;
  for (const ParameterRow& row : ParameterMap) actual.push_back(row.control);
  EXPECT_EQ(actual, expected);
}

TEST(ParameterMapTable, EveryRowIsWellFormed) {
  const std::set<int> kinds = {1, 3, 7, 8, 10, 11, 12, 13, 20, 21, 27,
                               30, 31, 40, 50, 60, 61, 62, 63, 70, 84};
  for (const ParameterRow& row : ParameterMap) {
    SCOPED_TRACE(row.control);
    EXPECT_TRUE(kinds.count(row.kind));
    ASSERT_NE(row.tooltip, nullptr);
    EXPECT_GT(std::strlen(row.tooltip), 0u);
    EXPECT_LE(std::strlen(row.tooltip), 79u);
    EXPECT_GE(row.byte, 10);
    // Per-oscillator rows must reach their oscillator 2 twin inside the record.
    int last = row.byte + ((row.kind == 3 || row.kind == 50 || (row.kind >= 60 && row.kind <= 63))
                               ? 40 : 0) + (row.kind >= 60 && row.kind <= 63 ? 1 : 0);
    EXPECT_LT(last, 143);
    EXPECT_EQ(FindParameterRow(row.control), &row);
  }
}

TEST(ParameterMapTable, SampleRowsHoldTheirBytesRangesAndTips) {
  struct Case { int control, byte, kind, limit; const char* tooltip; };
  const Case cases[] = {
      {3101, 10, 11, 0, "Sets the program to use two oscillators"},
      {3118, 19, 13, 0, "Sets Pitch MG to use a square wave pattern"},
      {3130, 44, 7, 65, "Pans Output 3 before it is mixed into 1&2 [R=01,L=65]"},
      {3133, 45, 8, 3131, "Mixes Output 4 into the standard outputs 1 & 2"},
      {3140, 46, 84, 0, "Controls the effect placement (see help file and Korg manual)"},
      {3205, 17, 1, -50, "Detunes Oscillator 2 [-50,+50]"},
      {3208, 86, 3, 99, "Selects the overall amplitude of this oscillator [0,99]"},
      {3212, 91, 3, 99, "How much key velocity affects amplitude envelope speed [0.99]"},
      {3227, 69, 3, -99, "How much key velocity affects pitch envelope speed [0,99]"},
      {3229, 13, 70, 0, "Selects the octave this oscillator plays in [4/8/16]"},
      {3231, 72, 50, 127, "Selects the centre key for keyboard tracking on cutoff"},
      {3252, 101, 63, 0, "Whether keyboard tracking/velocity sensing affect release time"},
      {3157, 19, 27, 0, "Synchronises Pitch MG cycle to start with key hit"},
  };
  for (const Case& c : cases) {
    const ParameterRow* row = FindParameterRow(c.control);
    ASSERT_NE(row, nullptr) << c.control;
    EXPECT_EQ(row->byte, c.byte) << c.control;
    EXPECT_EQ(row->kind, c.kind) << c.control;
    EXPECT_EQ(row->limit, c.limit) << c.control;
    EXPECT_STREQ(row->tooltip, c.tooltip) << c.control;
  }
  for (int id : {0, 3008, 3141, 3145, 3150, 3200, 3201, 9999}) EXPECT_EQ(FindParameterRow(id), nullptr);
  EXPECT_EQ(RangeLow(-12), -12);
  EXPECT_EQ(RangeHigh(-12), 12);
  EXPECT_EQ(RangeLow(99), 0);
  EXPECT_EQ(RangeHigh(99), 99);
}

TEST(M1NameLists, CountsOrderAndLengths) {
  EXPECT_STREQ(MultisoundNames[0], "Piano");
  EXPECT_STREQ(MultisoundNames[27], "PanFlute");
  EXPECT_STREQ(MultisoundNames[62], "Metal Hit NT");
  EXPECT_STREQ(MultisoundNames[89], "SquareWave");
  EXPECT_STREQ(MultisoundNames[99], "DWGS Sine");
  for (const char* name : MultisoundNames) EXPECT_LE(std::strlen(name), 14u) << name;
  EXPECT_STREQ(EffectTypeNames[0], "Hall");
  EXPECT_STREQ(EffectTypeNames[11], "Chorus 1");
  EXPECT_STREQ(EffectTypeNames[23], "Symphonic Ens.");
  EXPECT_STREQ(EffectTypeNames[24], "Rotary Speaker");
  EXPECT_STREQ(EffectTypeNames[33], "No Effect");
  for (const char* name : EffectTypeNames) EXPECT_LE(std::strlen(name), 19u) << name;
  std::set<std::string> unique(MultisoundNames.begin(), MultisoundNames.end());
  EXPECT_EQ(unique.size(), 100u);
}

TEST(EffectLayoutTables, TypesMapToTheirLayouts) {
  const int expected[34] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
                            7, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
  for (int t = 0; t < 34; ++t) {
    EXPECT_EQ(EffectLayoutOfType[t], expected[t]) << t;
    EXPECT_EQ(LayoutOfEffectType(t), &EffectLayouts[expected[t]]);
  }
  EXPECT_EQ(LayoutOfEffectType(34), nullptr);
  EXPECT_EQ(LayoutOfEffectType(255), nullptr);
  EXPECT_EQ(LayoutOfEffectType(-1), nullptr);
}

TEST(EffectLayoutTables, EveryRowIsWellFormed) {
  for (int c = 0; c < kEffectLayoutCount; ++c) {
    for (int p = 0; p < kEffectBoxCount; ++p) {
      const EffectRow& row = EffectLayouts[c][p];
      SCOPED_TRACE(testing::Message() << "layout " << c << " box " << 3145 + p);
      int kind = int(row.kind);
      EXPECT_GE(kind, 0);
      EXPECT_LE(kind, 11);
      EXPECT_LE(std::strlen(row.label), 19u);
      EXPECT_LE(std::strlen(row.tooltip), 79u);
      if (row.kind == EffectValueKind::None) {
        EXPECT_EQ(row.offset, -1);
        EXPECT_STREQ(row.label, "");
        continue;
      }
      EXPECT_GT(std::strlen(row.label), 0u);
      int width = (row.kind == EffectValueKind::Word || row.kind == EffectValueKind::SpeedWave)
                      ? 2 : 1;
      EXPECT_GE(row.offset, 0);
      EXPECT_LE(row.offset + width, 8);
    }
  }
  for (const EffectRow& row : EffectLayouts[22]) EXPECT_EQ(row.kind, EffectValueKind::None);
  EXPECT_STREQ(EffectLayouts[0][1].tooltip, "Amount to \"damp\" high frequency echoes [0,99]");
  EXPECT_STREQ(EffectLayouts[13][1].label, "Speed ratio");
  EXPECT_EQ(EffectLayouts[13][1].limit, -10);
  EXPECT_EQ(EffectLayouts[16][3].kind, EffectValueKind::ShortReflectionTime);
  EXPECT_EQ(EffectLayouts[18][4].offset, 5);
  EXPECT_EQ(EffectLayouts[18][4].kind, EffectValueKind::SpeedWave);
}

}  // namespace
}  // namespace qv
