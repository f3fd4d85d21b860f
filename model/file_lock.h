#pragma once
#include <chrono>
#include <optional>
#include <string>

#include "model/atomic_file.h"

// The right to replace one file, taken by every program that writes it: an exclusive advisory
// lock on a lock file beside it (tarvolin.rxn.lock beside tarvolin.rxn). A writer that checks
// the file before replacing it holds the lock from the check to the rename, so that no other
// save lands in between and is replaced unseen.
//
// It does not wait forever: a lock another program holds longer than the patience is reported
// as Busy, and it is never broken. The lock ends with the process that holds it, so a lock file
// left by a killed program blocks no one; a released lock removes its file.
class TFileLock {
 public:
  // Tries to take the lock beside path until the patience runs out; Held() tells.
  explicit TFileLock(const std::string& path);
  TFileLock(const std::string& path, std::chrono::milliseconds patience);
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  // Why the lock is not held: Busy (with "NAME is being saved by another program; try again"),
  // or CannotCreate when no lock file can be made beside the file (nor, then, any other file)
  // or the one there is not to be taken: not a regular file, or another account's than this
  // one's or the file's owner's (the text names that account and what to do).
  const TWriteError& Failure() const { return failure_; }

  // How long a writer waits for another to finish: a few seconds, far longer than any save of
  // a reaction file takes, even on a network share.
  static std::chrono::milliseconds Patience();
  // For tests that must not wait that long; returns the previous patience.
  static std::chrono::milliseconds SetPatience(std::chrono::milliseconds patience);

  // A writer's lock on path, taken into own unless the caller already holds one (held). False,
  // with error, when it cannot be had.
  static bool TakeUnlessHeld(const std::string& path, const TFileLock* held,
                             std::optional<TFileLock>& own, TWriteError* error);

 private:
  int TryOnce(const std::string& path, int& errnum, std::string& refusal) const;

  std::string lockPath_;
  int fd_ = -1;
  TWriteError failure_;
};
