#pragma once
// A fake output device for the native tests: records what is sent, makes a
// header per block that must be released exactly once, and returns scripted
// error codes.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "midi/midi_output.h"

namespace qv::test {

inline constexpr unsigned kFakeInvalidHandle = 5;
inline constexpr unsigned kFakeNotReady = 67;

class FakeOutputDriver : public OutputDriver {
 public:
  unsigned open_result = 0;
  unsigned reset_result = 0;
  unsigned close_result = 0;
  // Results of the coming sends and prepares in turn; 0 once they run out.
  std::deque<unsigned> prepare_results;
  std::deque<unsigned> send_results;

  bool opened = false;
  std::vector<std::string> calls;
  std::vector<std::vector<std::uint8_t>> sent;   // bytes of every accepted send
  std::vector<void*> sent_headers;               // their headers
  std::vector<OutputBlock*> in_flight;           // blocks accepted, not released
  std::vector<std::size_t> error_text_limits;
  int live_headers = 0;
  int released = 0;
  // Called after each accepted send, with the block's header.
  std::function<void(void* header)> on_sent;

  unsigned Open() override {
    calls.push_back("open");
    opened = open_result == 0;
    return open_result;
  }
  unsigned Reset() override {
    calls.push_back("reset");
    return opened ? reset_result : kFakeInvalidHandle;
  }
  unsigned Close() override {
    calls.push_back("close");
    if (!opened) return kFakeInvalidHandle;
    opened = close_result != 0;
    return close_result;
  }
  unsigned Prepare(OutputBlock& block) override {
    calls.push_back("prepare");
    block.device_header = new std::uint64_t(++serial_);
    ++live_headers;
    if (!opened) return kFakeInvalidHandle;
    return Next(prepare_results);
  }
  unsigned SendLong(OutputBlock& block) override {
    calls.push_back("send");
    if (!opened) return kFakeInvalidHandle;
    if (unsigned code = Next(send_results); code != 0) return code;
    sent.push_back(block.bytes);
    sent_headers.push_back(block.device_header);
    in_flight.push_back(&block);
    if (on_sent) on_sent(block.device_header);
    return 0;
  }
  void Release(OutputBlock& block) override {
    calls.push_back("release");
    if (block.device_header != nullptr) {
      delete static_cast<std::uint64_t*>(block.device_header);
      block.device_header = nullptr;
      --live_headers;
      ++released;
    }
    std::erase(in_flight, &block);
  }
  // Headers the device has not marked done yet.
  std::vector<void*> not_done;
  bool IsDone(const OutputBlock& block) override {
    return std::find(not_done.begin(), not_done.end(), block.device_header) == not_done.end();
  }
  std::string ErrorText(unsigned code, std::size_t max_chars) override {
    error_text_limits.push_back(max_chars);
    std::string text = "Device error " + std::to_string(code) + ".";
    if (text.size() > max_chars) text.resize(max_chars);
    return text;
  }

 private:
  static unsigned Next(std::deque<unsigned>& results) {
    if (results.empty()) return 0;
    unsigned r = results.front();
    results.pop_front();
    return r;
  }
  std::uint64_t serial_ = 0;
};

}  // namespace qv::test
