#pragma once
// Short MIDI messages from the instrument that edit the focused field or
// choose a program: the data-entry slider (two controller halves), the
// increment and decrement buttons, played keys and program changes.
#include <cstdint>

namespace qv {

// Collects the two 7-bit halves of a data-entry value, in either order.
class DataEntryAccumulator {
 public:
  // Controller 38: the low half. True when the value is complete.
  bool TakeLow(int value7);
  // Controller 6: the high half. True when the value is complete.
  bool TakeHigh(int value7);
  // The completed 14-bit two's-complement value; starts the next one.
  int TakeValue();
  void Clear();

 private:
  bool Complete();
  int bits_ = 0;
  bool have_low_ = false;
  bool have_high_ = false;
  int value_ = 0;
};

struct RemoteAction {
  enum class Type { None, Edit, ProgramChange } type = Type::None;
  int value = 0;  // Edit: the value for ApplyRemoteEdit; ProgramChange: the program
  int mode = 0;   // Edit: the mode for ApplyRemoteEdit
};

class RemoteInput {
 public:
  // A short message as the input device packs it: status in bits 0-7, first
  // data byte in bits 8-15, second in bits 16-23. Messages on channels other
  // than the global channel (1..16) do nothing.
  RemoteAction Take(std::uint32_t message, int channel);
  void Clear() { accumulator_.Clear(); }

 private:
  DataEntryAccumulator accumulator_;
};

}  // namespace qv
