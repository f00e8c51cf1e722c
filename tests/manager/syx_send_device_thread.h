#pragma once
// A virtual device for the command-line send: every accepted block is
// reported done from the device's own thread after a fixed time on the wire,
// through OutputCompletions as the output's callback would. It stamps each
// send and each completion with a steady clock.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "midi/midi_output_completions.h"

namespace qv::test {

class DeviceThread {
 public:
  using Clock = std::chrono::steady_clock;

  DeviceThread(OutputCompletions& completions, std::chrono::microseconds wire)
      : completions_(completions), wire_(wire), worker_([this] { Run(); }) {}
  ~DeviceThread() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    worker_.join();
  }

  // Called by the driver when it accepts a block.
  void Accepted(void* header) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      sent_at_.push_back(Clock::now());
      queue_.push_back({header, Clock::now() + wire_});
    }
    wake_.notify_one();
  }

  std::vector<Clock::time_point> SentAt() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sent_at_;
  }
  std::vector<Clock::time_point> DoneAt() {
    std::lock_guard<std::mutex> lock(mutex_);
    return done_at_;
  }

 private:
  struct Pending {
    void* header;
    Clock::time_point due;
  };
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) return;
      Pending next = queue_.front();
      if (wake_.wait_until(lock, next.due, [this] { return stop_; })) return;
      queue_.pop_front();
      done_at_.push_back(Clock::now());
      lock.unlock();
      completions_.Post(next.header);
      lock.lock();
    }
  }

  OutputCompletions& completions_;
  std::chrono::microseconds wire_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Pending> queue_;
  std::vector<Clock::time_point> sent_at_;
  std::vector<Clock::time_point> done_at_;
  bool stop_ = false;
  std::thread worker_;
};

}  // namespace qv::test
