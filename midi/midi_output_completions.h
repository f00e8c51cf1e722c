#pragma once
// Completion notices of an output opened without a window. The driver's
// callback runs on the driver's own thread and may do nothing but record the
// notice and wake the sender; the command-line send loop waits here (without
// spinning) and handles the notices on its own thread.
//
// SendState and PendingCompletions are the two values the callback shares
// with the loop; both are changed atomically, and the headers of the
// completed messages travel with them so that no notice is lost.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace qv {

// Values of SendState.
enum SendStateValue : int {
  kSendWaiting = 0,             // a block is out, no completion seen
  kSendCompletionPending = -1,  // the callback saw a completion not yet used
  kSendFinished = 1,            // all blocks sent and everything released
};

class OutputCompletions {
 public:
  // The callback side: records the completion of `header` and wakes the
  // waiting loop. Never blocks for long and calls no device function.
  void Post(const void* header);

  // The loop side: waits until at least one completion is pending or the send
  // has finished, then takes every pending header. PendingCompletions drops
  // by the number taken; when it reaches 0, SendState goes back to Waiting.
  std::vector<const void*> WaitAndTake();

  // Forgets everything pending (when the device is opened again).
  void Clear();

  // Sets SendState (Waiting when a send starts, Finished when it ends) and
  // wakes the loop so that it sees a finish.
  void SetSendState(int state);
  int SendState() const { return send_state_.load(); }
  int PendingCompletions() const { return pending_completions_.load(); }

 private:
  std::atomic<int> send_state_{kSendFinished};
  std::atomic<int> pending_completions_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<const void*> headers_;
};

}  // namespace qv
