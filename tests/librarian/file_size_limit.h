#pragma once
// Makes every write of this process beyond a file size fail, as on a full
// disk, until the object goes out of scope (the soft file-size limit, with
// its signal ignored so that the write reports the failure instead).
#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace qv::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t bytes) {
    active_ = getrlimit(RLIMIT_FSIZE, &saved_) == 0;
    if (!active_) return;
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() {
    if (!active_) return;
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool active() const { return active_; }

 private:
  rlimit saved_{};
  void (*previous_)(int) = SIG_DFL;
  bool active_ = false;
};

}  // namespace qv::test
