#include "midi/midi_input_receive.h"

#include "manager/manufacturer.h"  // up: a committed message is listed with its maker's name

namespace qv {

StoreReceipt StoreReceiver::Receive(const std::uint8_t* bytes, std::size_t recorded,
                                    std::size_t bufferLength, MessageStore& store) {
  if (recorded == 0 || bytes == nullptr) return StoreReceipt::Nothing;
  if (recorded > bufferLength) recorded = bufferLength;
  // A store cleared, saved or rewritten by the message editor while the
  // message was arriving has lost its first part: the rest of that message
  // is dropped too, so that a message is kept whole or not at all.
  if (fullBufferCount_ > 0 && store.Generation() != storeGeneration_) cut_ = true;
  if (cut_) {
    if (recorded < bufferLength) {
      cut_ = false;
      fullBufferCount_ = 0;
      return StoreReceipt::Dropped;
    }
    ++fullBufferCount_;
    return StoreReceipt::Continued;
  }
  if (fullBufferCount_ == 0) {
    manufacturer_ = FindManufacturerId(bytes, recorded);
    storeGeneration_ = store.Generation();
  }
  store.AppendStoreData(bytes, recorded);
  if (recorded < bufferLength) {
    const std::int64_t length =
        static_cast<std::int64_t>(kInputBufferLength) * fullBufferCount_ +
        static_cast<std::int64_t>(recorded);
    fullBufferCount_ = 0;
    return store.CommitStoredMessage(length, manufacturer_, MessageForm::Received)
               ? StoreReceipt::Committed
               : StoreReceipt::Dropped;
  }
  ++fullBufferCount_;
  return StoreReceipt::Continued;
}

void StoreReceiver::Abandon(MessageStore& store) {
  if (fullBufferCount_ > 0 && !cut_) store.DiscardPendingMessage();
  fullBufferCount_ = 0;
  cut_ = false;
}

const std::uint8_t* ExpectedReceiver::Receive(const std::uint8_t* bytes, std::size_t recorded,
                                              std::size_t bufferLength, std::size_t expected) {
  if (recorded == 0 || bytes == nullptr) return nullptr;
  if (recorded > bufferLength) recorded = bufferLength;
  if (fullBufferCount_ == 0) assembled_.clear();
  const std::size_t before = assembled_.size();
  const std::size_t total = kInputBufferLength * static_cast<std::size_t>(fullBufferCount_) + recorded;
  if (recorded == bufferLength) {
    // Keep the parts only while they can still belong to an awaited message.
    if (total < expected && before + recorded <= expected) {
      assembled_.insert(assembled_.end(), bytes, bytes + recorded);
    }
    ++fullBufferCount_;
    return nullptr;
  }
  const int fullBefore = fullBufferCount_;
  fullBufferCount_ = 0;
  if (total != expected) return nullptr;
  if (fullBefore == 0) return bytes;
  if (before + recorded != expected) return nullptr;
  assembled_.insert(assembled_.end(), bytes, bytes + recorded);
  return assembled_.data();
}

void ExpectedReceiver::Abandon() {
  fullBufferCount_ = 0;
  assembled_.clear();
}

}  // namespace qv
