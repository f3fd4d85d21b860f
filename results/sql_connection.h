#pragma once
#include <QSqlDatabase>
#include <QString>

// A Qt SQL connection of its owner's own: Qt keeps connections by name for the whole process,
// so each owner makes one under a unique name and takes it away again when done, on the thread
// that uses it.
class TSqlConnection {
 public:
  // prefix names the owner in the connection's name ("tarvolin-results-...").
  explicit TSqlConnection(const char* prefix);
  ~TSqlConnection();
  TSqlConnection(const TSqlConnection&) = delete;
  TSqlConnection& operator=(const TSqlConnection&) = delete;

  // A new connection through driver, the earlier one closed and taken away first.
  QSqlDatabase& Add(const char* driver);
  // Closes the connection and takes it away; nothing when there is none.
  void Remove();
  QSqlDatabase& Db() { return db_; }
  const QString& Name() const { return name_; }

 private:
  QString name_;
  QSqlDatabase db_;
};

// A transaction that is rolled back unless it was committed, however the scope is left.
class TSqlTransaction {
 public:
  explicit TSqlTransaction(QSqlDatabase& db) : db_(db), begun_(db.transaction()) {}
  ~TSqlTransaction() {
    if (begun_ && !committed_) db_.rollback();
  }
  TSqlTransaction(const TSqlTransaction&) = delete;
  TSqlTransaction& operator=(const TSqlTransaction&) = delete;

  bool Begun() const { return begun_; }
  bool Commit() { return committed_ = begun_ && db_.commit(); }

 private:
  QSqlDatabase& db_;
  bool begun_;
  bool committed_ = false;
};
