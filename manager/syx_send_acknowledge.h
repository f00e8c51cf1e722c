#pragma once
// The manager's acknowledgement of received data: every input buffer that
// came back holding data (a whole message, or each full part of a longer
// one) is answered with the first ReceiptLength bytes of the user's
// AcknowledgeMessage, when AcknowledgeReceipt is on.
#include <cstddef>
#include <cstdint>

#include "base/reporter.h"
#include "midi/midi_output.h"

namespace qv {

inline constexpr std::size_t kAcknowledgeMessageCapacity = 512;

// `recorded_bytes` is what the returned buffer held; a buffer that came back
// empty (after a reset) is not answered. The length sent never goes beyond
// `message_capacity`. Returns true when an acknowledgement went out.
bool SendAcknowledgement(MidiOutput& output, Reporter& reporter,
                         std::size_t recorded_bytes, bool acknowledge_receipt,
                         std::uint32_t receipt_length,
                         const std::uint8_t* acknowledge_message,
                         std::size_t message_capacity = kAcknowledgeMessageCapacity);

}  // namespace qv
