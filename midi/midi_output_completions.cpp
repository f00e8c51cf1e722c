#include "midi/midi_output_completions.h"

#include <utility>

namespace qv {

void OutputCompletions::Post(const void* header) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    headers_.push_back(header);
    pending_completions_.fetch_add(1);
    // Only a running send becomes CompletionPending; Finished stays.
    int expected = kSendWaiting;
    send_state_.compare_exchange_strong(expected, kSendCompletionPending);
  }
  wake_.notify_one();
}

std::vector<const void*> OutputCompletions::WaitAndTake() {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [this] {
    return !headers_.empty() || send_state_.load() == kSendFinished;
  });
  std::vector<const void*> taken;
  taken.swap(headers_);
  if (!taken.empty()) {
    int left = pending_completions_.fetch_sub(static_cast<int>(taken.size())) -
               static_cast<int>(taken.size());
    if (left == 0) {
      int expected = kSendCompletionPending;
      send_state_.compare_exchange_strong(expected, kSendWaiting);
    }
  }
  return taken;
}

void OutputCompletions::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  pending_completions_.fetch_sub(static_cast<int>(headers_.size()));
  headers_.clear();
  int expected = kSendCompletionPending;
  send_state_.compare_exchange_strong(expected, kSendWaiting);
}

void OutputCompletions::SetSendState(int state) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    send_state_.store(state);
  }
  wake_.notify_all();
}

}  // namespace qv
