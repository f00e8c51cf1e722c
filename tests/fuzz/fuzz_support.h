#pragma once
// What the libFuzzer harnesses share: a reporter that answers every box
// with its first button, a scratch folder for readers that take files, and
// a reader over the fuzzer's bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"

namespace qv::fuzz {

class SilentReporter : public Reporter {
 public:
  BoxAnswer Show(std::string_view, std::string_view, BoxIcon, BoxButtons buttons) override {
    ++shown;
    switch (buttons) {
      case BoxButtons::YesNo:
      case BoxButtons::YesNoCancel: return BoxAnswer::Yes;
      case BoxButtons::RetryCancel: return BoxAnswer::Retry;
      default: return BoxAnswer::Ok;
    }
  }
  int shown = 0;
};

// One folder per process, made on first use and kept for the run.
inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/qv_fuzz_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return folder;
}

inline std::string ScratchFile(const char* name) { return ScratchFolder() + "/" + name; }

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
}

// Takes numbers and pieces from the front of the input.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Left() const { return size_ - at_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
    return v;
  }
  std::vector<uint8_t> Bytes(size_t n) {
    n = n < Left() ? n : Left();
    std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
    at_ += n;
    return out;
  }
  std::string Text(size_t n) {
    std::vector<uint8_t> b = Bytes(n);
    return std::string(b.begin(), b.end());
  }
  std::vector<uint8_t> Rest() { return Bytes(Left()); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace qv::fuzz
