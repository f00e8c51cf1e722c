#include <gtest/gtest.h>

#include "editor/indicator_state.h"

namespace qv {
namespace {

TEST(IndicatorState, ClicksCycleOffPositiveNegative) {
  IndicatorStates s;
  EXPECT_EQ(s.tracking, kIndicatorOff);
  EXPECT_EQ(s.velocity, kIndicatorOff);
  const int expected[] = {kIndicatorPositive, kIndicatorNegative, kIndicatorOff,
                          kIndicatorPositive};
  for (int e : expected) {
    ClickIndicator(s, 0, 9);
    EXPECT_EQ(s.tracking, e);
    EXPECT_EQ(s.velocity, kIndicatorOff);
  }
  ClickIndicator(s, 8, 9);
  EXPECT_EQ(s.velocity, kIndicatorPositive);
  EXPECT_EQ(NextIndicatorState(7), kIndicatorNegative);
}

TEST(IndicatorState, HalvesSplitAtHalfTheHeightRoundedUp) {
  EXPECT_TRUE(HitsUpperHalf(4, 9));
  EXPECT_FALSE(HitsUpperHalf(5, 9));  // the row (h + 1) / 2 belongs to the lower half
  EXPECT_TRUE(HitsUpperHalf(4, 10));
  EXPECT_FALSE(HitsUpperHalf(5, 10));
  IndicatorRect up = UpperHalfRect(14, 9), down = LowerHalfRect(14, 9);
  EXPECT_EQ(up.top, 0);
  EXPECT_EQ(up.bottom, 5);
  EXPECT_EQ(down.top, 4);
  EXPECT_EQ(down.bottom, 9);
  EXPECT_EQ(down.right, 14);
}

TEST(IndicatorState, ProgramCodingAndSwitchBytes) {
  EXPECT_EQ(IndicatorStateBits(kIndicatorOff), 0);
  EXPECT_EQ(IndicatorStateBits(kIndicatorPositive), 1);
  EXPECT_EQ(IndicatorStateBits(kIndicatorNegative), 17);
  EXPECT_EQ(IndicatorStateBits(9), 0);
  struct Case { std::uint8_t switches; int segment; int state; };
  for (Case c : {Case{0x00, 0, kIndicatorOff}, Case{0x01, 0, kIndicatorPositive},
                 Case{0x11, 0, kIndicatorNegative}, Case{0x10, 0, kIndicatorOff},
                 Case{0x88, 3, kIndicatorNegative}, Case{0x08, 3, kIndicatorPositive},
                 Case{0x42, 1, kIndicatorPositive}, Case{0x40, 2, kIndicatorOff}})
    EXPECT_EQ(IndicatorStateOfSwitches(c.switches, c.segment), c.state) << int(c.switches);
  // A state read back through its coding gives the same switch bits.
  for (int state : {0, 1, 2})
    for (int s = 0; s < 4; ++s)
      EXPECT_EQ(IndicatorStateOfSwitches(std::uint8_t(IndicatorStateBits(state) << s), s),
                state);
}

TEST(IndicatorState, LooksByState) {
  struct Case { int state; IndicatorFill fill; const char* upper; const char* lower; };
  for (Case c : {Case{1, IndicatorFill::Grey, "KT", "VS"}, Case{2, IndicatorFill::Red, "KT+", "VS+"},
                 Case{0, IndicatorFill::Blue, "KT-", "VS-"}, Case{5, IndicatorFill::Grey, "KT", "VS"}}) {
    EXPECT_EQ(UpperHalfLook(c.state).fill, c.fill);
    EXPECT_STREQ(UpperHalfLook(c.state).text, c.upper);
    EXPECT_EQ(LowerHalfLook(c.state).fill, c.fill);
    EXPECT_STREQ(LowerHalfLook(c.state).text, c.lower);
  }
}

}  // namespace
}  // namespace qv
