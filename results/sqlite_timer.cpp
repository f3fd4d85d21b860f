#include "results/sqlite_timer.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QVariant>

void TSqliteTimer::Attach(const QSqlDatabase& db) {
  const QVariant handle = db.driver()->handle();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return;
  sqlite3* connection = *static_cast<sqlite3* const*>(handle.data());
  if (connection) sqlite3_progress_handler(connection, 20000, &TSqliteTimer::Progress, this);
  Arm();
}

void TSqliteTimer::Arm(int seconds) {
  deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  expired_ = false;
}

int TSqliteTimer::Progress(void* self) {
  auto* timer = static_cast<TSqliteTimer*>(self);
  if (std::chrono::steady_clock::now() < timer->deadline_) return 0;
  timer->expired_ = true;
  return 1;
}
