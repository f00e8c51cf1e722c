#pragma once
// When the lines of received messages reach the list. Each line added to a
// visible list costs a redraw, far more than receiving the message, so a
// burst of messages is listed in batches: the first notice of a burst holds
// the store's listing, and the held lines go to the list in one go when no
// notice is waiting (the window's idle timer, kIdleMs after the hold) or,
// while notices keep coming, once they have waited kAtMostMs. The store
// itself takes every message at once; only its lines wait.
#include <cstdint>

#include "manager/message_store.h"

namespace qv {

class ReceivedListing {
 public:
  static constexpr std::uint32_t kIdleMs = 50;
  static constexpr std::uint32_t kAtMostMs = 100;

  // A notice of received data is about to be handled at `nowMs` (a
  // millisecond tick that may wrap). True when it begins a hold, so that
  // the caller starts its idle timer.
  bool NoticeArrives(MessageStore& store, std::uint32_t nowMs);
  // After the notice: true when the held lines have waited long enough.
  bool Due(const MessageStore& store, std::uint32_t nowMs) const;
  // Writes out the store and lists the held lines (no-op when none).
  void CatchUp(MessageStore& store);

 private:
  std::uint32_t heldSinceMs_ = 0;
};

}  // namespace qv
