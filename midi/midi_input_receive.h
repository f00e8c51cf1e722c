#pragma once
// What the two receive handlers do with a buffer the input device returns.
// The device fills buffers of 32,000 bytes and returns one when it is full
// or when a SysEx message ends in it; a message longer than one buffer is
// joined by counting the full buffers that came before its last one.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "manager/message_store.h"  // up: received SysEx goes straight into the manager's store

namespace qv {

inline constexpr std::size_t kInputBufferLength = 32000;

enum class StoreReceipt {
  Nothing,    // the buffer held no bytes
  Continued,  // a full buffer: the message goes on in the next one
  Committed,  // the message ended here and is in the store
  Dropped,    // the message ended here but the store could not keep it
};

// The manager's handler: every byte goes to the message store.
class StoreReceiver {
 public:
  StoreReceipt Receive(const std::uint8_t* bytes, std::size_t recorded, std::size_t bufferLength,
                       MessageStore& store);
  // The device was reset or closed while a message was arriving: its first
  // part is dropped and the next buffer starts a new message.
  void Abandon(MessageStore& store);
  int FullBufferCount() const { return fullBufferCount_; }

 private:
  int fullBufferCount_ = 0;
  std::uint8_t manufacturer_ = 0;
  std::uint64_t storeGeneration_ = 0;  // the store the message began in
  bool cut_ = false;                   // the rest of this message is dropped
};

// The librarian's and editor's handler: only a message of the awaited
// length is handed on; others are dropped without notice.
class ExpectedReceiver {
 public:
  // The complete message when this buffer ends one of exactly `expected`
  // bytes, else nullptr. The bytes stay valid until the next call.
  const std::uint8_t* Receive(const std::uint8_t* bytes, std::size_t recorded,
                              std::size_t bufferLength, std::size_t expected);
  void Abandon();
  int FullBufferCount() const { return fullBufferCount_; }

 private:
  int fullBufferCount_ = 0;
  std::vector<std::uint8_t> assembled_;  // the full buffers of a long message
};

}  // namespace qv
