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
  ShortOfMemory, // told the user; fewer buffers this time, numBuffers kept
};

// After the device has prepared and queued `accepted` of `numBuffers`
// buffers: shows the information or stop box and lowers numBuffers.
BufferOutcome ReportAcceptedBuffers(int accepted, int& numBuffers, Reporter& reporter);

// The same when only `allocated` of the numBuffers buffers could be made
// (memory ran short) and the device took `accepted` of those. A shortage of
// memory is told as such and leaves numBuffers alone; only the device's
// refusals lower it.
BufferOutcome ReportInputBuffers(int allocated, int accepted, int& numBuffers, Reporter& reporter);

}  // namespace qv
