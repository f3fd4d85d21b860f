#pragma once
#include <QSqlDatabase>
#include <chrono>

struct sqlite3;

// Stops a SQLite statement that has run past a few seconds since it was armed, through
// SQLite's progress handler: a file can hold anything, and no read of ours may hang the
// program. Armed again before each statement (and each row read, which is progress).
class TSqliteTimer {
 public:
  static constexpr int kSeconds = 5;

  // Watches the statements of db, a SQLite connection; does nothing for other drivers.
  void Attach(const QSqlDatabase& db);
  void Arm(int seconds = kSeconds);
  // Whether the last statement was stopped for running too long.
  bool Expired() const { return expired_; }

 private:
  static int Progress(void* self);

  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
  bool expired_ = false;
};
