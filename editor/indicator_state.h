#pragma once
// The two-part keyboard-tracking / velocity indicator: its states, click
// cycle, program coding and look, independent of any window.
#include <cstdint>

namespace qv {

// States as the control keeps them.
inline constexpr int kIndicatorNegative = 0;
inline constexpr int kIndicatorOff = 1;
inline constexpr int kIndicatorPositive = 2;

// Messages the control accepts besides the ordinary ones.
inline constexpr unsigned kIndicatorSetMessage = 243;      // first: tracking, second: velocity
inline constexpr unsigned kIndicatorGetTracking = 0x400 + 101;  // 1125
inline constexpr unsigned kIndicatorGetVelocity = 0x400 + 102;  // 1126

inline constexpr const char* kIndicatorClassName = "Qv_TimeTrack";

struct IndicatorStates {
  std::uint16_t tracking = kIndicatorOff;  // upper half
  std::uint16_t velocity = kIndicatorOff;  // lower half
};

// off -> positive -> negative -> off; anything else starts again at negative.
int NextIndicatorState(int state);

// The state in the program's segment-switch coding: 0 off, 1 positive,
// 0x11 negative. An unknown state counts as off.
int IndicatorStateBits(int state);

// The state a segment switch byte gives segment s (0..3).
int IndicatorStateOfSwitches(std::uint8_t switches, int segment);

// A click at row y of a control h pixels high hits the upper half when y
// lies above (h + 1) / 2.
bool HitsUpperHalf(int y, int height);

// Applies a click at row y: steps the clicked half.
void ClickIndicator(IndicatorStates& states, int y, int height);

enum class IndicatorFill { Grey, Red, Blue };
struct IndicatorLook {
  IndicatorFill fill;
  const char* text;
};
// How a half looks in a state; an unknown state looks off.
IndicatorLook UpperHalfLook(int state);
IndicatorLook LowerHalfLook(int state);

// The halves' rectangles (left, top, right, bottom) in a w x h client area.
struct IndicatorRect {
  int left, top, right, bottom;
};
IndicatorRect UpperHalfRect(int width, int height);
IndicatorRect LowerHalfRect(int width, int height);

}  // namespace qv
