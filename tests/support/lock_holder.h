#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "model/file_lock.h"

// Another program saving a file: a child process that takes the file's lock and holds it for
// a while, or until it is killed (SIGKILL, as a crash would end it). Needs no Qt.
class TLockHolder {
 public:
  static constexpr std::chrono::milliseconds kUntilKilled{-1};

  // Returns once the child holds the lock (Holding() is false when it could not take it).
  TLockHolder(const std::string& path, std::chrono::milliseconds hold) {
    int ready[2];
    if (pipe(ready) != 0) return;
    child_ = fork();
    if (child_ == 0) {
      ::close(ready[0]);
      const TFileLock lock(path, std::chrono::milliseconds(0));
      const char held = lock.Held() ? 'y' : 'n';
      if (::write(ready[1], &held, 1) != 1 || !lock.Held()) _exit(1);
      if (hold < std::chrono::milliseconds(0))
        for (;;) pause();
      std::this_thread::sleep_for(hold);
      _exit(0);  // the lock is let go as the process ends, its file left behind
    }
    ::close(ready[1]);
    char held = 'n';
    holding_ = child_ > 0 && ::read(ready[0], &held, 1) == 1 && held == 'y';
    ::close(ready[0]);
  }
  ~TLockHolder() { Kill(); }
  TLockHolder(const TLockHolder&) = delete;
  TLockHolder& operator=(const TLockHolder&) = delete;

  bool Holding() const { return holding_; }
  // Ends the child at once, with the lock it holds.
  void Kill() {
    if (child_ <= 0) return;
    ::kill(child_, SIGKILL);
    int status = 0;
    waitpid(child_, &status, 0);
    child_ = -1;
  }

 private:
  pid_t child_ = -1;
  bool holding_ = false;
};
