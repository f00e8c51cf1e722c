#include "manager/received_listing.h"

namespace qv {

bool ReceivedListing::NoticeArrives(MessageStore& store, std::uint32_t nowMs) {
  if (store.ListingHeld()) return false;
  store.HoldListing();
  heldSinceMs_ = nowMs;
  return true;
}

bool ReceivedListing::Due(const MessageStore& store, std::uint32_t nowMs) const {
  return store.ListingHeld() && nowMs - heldSinceMs_ >= kAtMostMs;
}

void ReceivedListing::CatchUp(MessageStore& store) {
  if (!store.ListingHeld()) return;
  // A listed message is on disk.
  store.Flush();
  store.ListHeldLines();
}

}  // namespace qv
