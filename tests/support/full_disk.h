#pragma once
#include <sys/resource.h>

#include <csignal>

// While it lives, no file of this process grows past limit bytes: a write beyond that comes up
// short with "File too large", as on a disk that fills up, for root too. The signal such a
// write would raise is ignored meanwhile.
class TFullDisk {
 public:
  explicit TFullDisk(rlim_t limit) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit small = saved_;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~TFullDisk() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, handler_);
  }
  TFullDisk(const TFullDisk&) = delete;
  TFullDisk& operator=(const TFullDisk&) = delete;

 private:
  void (*handler_)(int);
  rlimit saved_{};
};
