#include "editor/remote_input.h"

namespace qv {

namespace {
constexpr int kDataEntryHigh = 6;
constexpr int kDataEntryLow = 38;
constexpr int kDataIncrement = 96;
constexpr int kDataDecrement = 97;
constexpr int kKeyModeBase = 100;
}  // namespace

bool DataEntryAccumulator::TakeLow(int value7) {
  bits_ = (bits_ & ~0x7F) | (value7 & 0x7F);
  have_low_ = true;
  return Complete();
}

bool DataEntryAccumulator::TakeHigh(int value7) {
  bits_ = (bits_ & 0x7F) | ((value7 & 0x7F) << 7);
  have_high_ = true;
  return Complete();
}

bool DataEntryAccumulator::Complete() {
  if (!have_low_ || !have_high_) return false;
  value_ = (bits_ & 0x2000) ? bits_ - 0x4000 : bits_;
  have_low_ = have_high_ = false;
  bits_ = 0;
  return true;
}

int DataEntryAccumulator::TakeValue() {
  int v = value_;
  value_ = 0;
  return v;
}

void DataEntryAccumulator::Clear() {
  bits_ = value_ = 0;
  have_low_ = have_high_ = false;
}

RemoteAction RemoteInput::Take(std::uint32_t message, int channel) {
  const int status = message & 0xFF;
  const int data1 = (message >> 8) & 0x7F;
  const int data2 = (message >> 16) & 0x7F;
  RemoteAction action;
  if (status < 0x80 || status >= 0xF0) return action;
  if ((status & 0x0F) != ((channel - 1) & 0x0F)) return action;

  switch (status & 0xF0) {
    case 0xB0:
      if ((data1 == kDataEntryLow && accumulator_.TakeLow(data2)) ||
          (data1 == kDataEntryHigh && accumulator_.TakeHigh(data2))) {
        action = {RemoteAction::Type::Edit, accumulator_.TakeValue(), 0};
      } else if (data1 == kDataIncrement) {
        action = {RemoteAction::Type::Edit, 0, +1};
      } else if (data1 == kDataDecrement) {
        action = {RemoteAction::Type::Edit, 0, -1};
      }
      break;
    case 0x90:
      // A note-on of velocity 0 is a released key, not a played one.
      if (data2 > 0) action = {RemoteAction::Type::Edit, 0, kKeyModeBase + data1};
      break;
    case 0xC0: action = {RemoteAction::Type::ProgramChange, data1, 0}; break;
    default: break;
  }
  return action;
}

}  // namespace qv
