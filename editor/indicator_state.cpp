#include "editor/indicator_state.h"

namespace qv {

int NextIndicatorState(int state) {
  int next = state + 1;
  return (next > kIndicatorPositive || next < 0) ? kIndicatorNegative : next;
}

int IndicatorStateBits(int state) {
  switch (state) {
    case kIndicatorPositive: return 0x01;
    case kIndicatorNegative: return 0x11;
    default: return 0x00;
  }
}

int IndicatorStateOfSwitches(std::uint8_t switches, int segment) {
  if (!(switches & (1u << segment))) return kIndicatorOff;
  return (switches & (1u << (segment + 4))) ? kIndicatorNegative : kIndicatorPositive;
}

bool HitsUpperHalf(int y, int height) { return y < (height + 1) / 2; }

void ClickIndicator(IndicatorStates& states, int y, int height) {
  std::uint16_t& half = HitsUpperHalf(y, height) ? states.tracking : states.velocity;
  half = std::uint16_t(NextIndicatorState(half));
}

namespace {
IndicatorLook LookOf(int state, const char* off, const char* positive, const char* negative) {
  switch (state) {
    case kIndicatorPositive: return {IndicatorFill::Red, positive};
    case kIndicatorNegative: return {IndicatorFill::Blue, negative};
    default: return {IndicatorFill::Grey, off};
  }
}
}  // namespace

IndicatorLook UpperHalfLook(int state) { return LookOf(state, "KT", "KT+", "KT-"); }
IndicatorLook LowerHalfLook(int state) { return LookOf(state, "VS", "VS+", "VS-"); }

IndicatorRect UpperHalfRect(int width, int height) { return {0, 0, width, (height + 1) / 2}; }
IndicatorRect LowerHalfRect(int width, int height) { return {0, height / 2, width, height}; }

}  // namespace qv
