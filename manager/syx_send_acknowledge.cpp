#include "manager/syx_send_acknowledge.h"

namespace qv {

bool SendAcknowledgement(MidiOutput& output, Reporter& reporter,
                         std::size_t recorded_bytes, bool acknowledge_receipt,
                         std::uint32_t receipt_length,
                         const std::uint8_t* acknowledge_message,
                         std::size_t message_capacity) {
  if (!acknowledge_receipt || recorded_bytes == 0 || acknowledge_message == nullptr)
    return false;
  std::size_t length = receipt_length;
  if (length > message_capacity) length = message_capacity;
  if (length == 0) return false;
  return output.Send(acknowledge_message, length, kSingleSendCaptions, reporter);
}

}  // namespace qv
