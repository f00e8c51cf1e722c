#pragma once
// How many receive buffers to hand the input device, and what to tell the
// user when the driver accepts fewer of them.
#include "base/reporter.h"

namespace qv {

inline constexpr int kMaxInputBuffers = 30;

// The stored NumBuffers bounded to the buffer set: 1 to 30.
int BoundedInputBufferCount(long stored);

enum class BufferOutcome {
  AllAccepted,   // nothing to say
  Reduced,       // told the user; numBuffers lowered, to be saved
  NoneAccepted,  // told the user; the program cannot go on
};

// After the device has prepared and queued `accepted` of `numBuffers`
// buffers: shows the information or stop box and lowers numBuffers.
BufferOutcome ReportAcceptedBuffers(int accepted, int& numBuffers, Reporter& reporter);

}  // namespace qv
