#include "midi/midi_input_buffers.h"

#include <string>

namespace qv {

int BoundedInputBufferCount(long stored) {
  if (stored < 1) return 1;
  if (stored > kMaxInputBuffers) return kMaxInputBuffers;
  return static_cast<int>(stored);
}

BufferOutcome ReportAcceptedBuffers(int accepted, int& numBuffers, Reporter& reporter) {
  if (accepted > 0 && accepted == numBuffers) return BufferOutcome::AllAccepted;
  if (accepted > 0) {
    reporter.Show(
        "The previous error returned by your soundcard driver meant that it could not cope with "
        "the number of buffers Quillon likes to allocate. However, a reduced number of buffers "
        "has been allocated, and the program should work properly now and in future.\n\n"
        "See the ReadNOW!.doc file for more information.",
        "Quillon 97", BoxIcon::Information, BoxButtons::Ok);
    numBuffers = accepted;
    return BufferOutcome::Reduced;
  }
  reporter.Show(
      "The previous error returned by your soundcard meant that it could not allocate a buffer. "
      "Because no buffers were allocated, Quillon is not able to continue.\n\n"
      "To fix this, you should try to remedy the problem mentioned in the previous error message "
      "in some way. Unfortunately the problem may really be an incompatibility with your sound "
      "card and Quillon, and there may be no solution.\n\n"
      "See the ReadNOW!.doc file for more information.",
      "Quillon 97", BoxIcon::Stop, BoxButtons::Ok);
  return BufferOutcome::NoneAccepted;
}

BufferOutcome ReportInputBuffers(int allocated, int accepted, int& numBuffers,
                                 Reporter& reporter) {
  if (allocated <= 0) {
    reporter.Show(
        "There isn't enough free memory for even one of the buffers that receive MIDI data, so "
        "Quillon is not able to continue.\n\nClose some other programs and try again.",
        "Quillon 97", BoxIcon::Stop, BoxButtons::Ok);
    return BufferOutcome::NoneAccepted;
  }
  if (allocated >= numBuffers) return ReportAcceptedBuffers(accepted, numBuffers, reporter);
  if (accepted < allocated) {
    // The device refused some of the buffers there were: its own box.
    int offered = allocated;
    const BufferOutcome outcome = ReportAcceptedBuffers(accepted, offered, reporter);
    if (outcome == BufferOutcome::Reduced) numBuffers = offered;
    return outcome;
  }
  reporter.Show("There isn't enough free memory for all the buffers that receive MIDI data: " +
                    std::to_string(allocated) + " of the " + std::to_string(numBuffers) +
                    " buffers are in use this time. Data that arrives very fast may be "
                    "lost.\n\nClose some other programs to have them all next time.",
                "Quillon 97", BoxIcon::Information, BoxButtons::Ok);
  return BufferOutcome::ShortOfMemory;
}

}  // namespace qv
