#pragma once
#include <chrono>

#include "model/file_lock.h"

// Sets how long writers wait for a lock while it lives, so that tests need not wait seconds.
class TPatience {
 public:
  explicit TPatience(std::chrono::milliseconds patience)
      : saved_(TFileLock::SetPatience(patience)) {}
  ~TPatience() { TFileLock::SetPatience(saved_); }
  TPatience(const TPatience&) = delete;
  TPatience& operator=(const TPatience&) = delete;

 private:
  std::chrono::milliseconds saved_;
};
