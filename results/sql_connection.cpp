#include "results/sql_connection.h"

#include <QUuid>

TSqlConnection::TSqlConnection(const char* prefix)
    : name_(QString(prefix) + "-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

TSqlConnection::~TSqlConnection() {
  Remove();
}

QSqlDatabase& TSqlConnection::Add(const char* driver) {
  Remove();
  db_ = QSqlDatabase::addDatabase(driver, name_);
  return db_;
}

void TSqlConnection::Remove() {
  if (!db_.isValid()) return;
  db_.close();
  // The handle is let go of first: Qt takes away only a connection no one holds.
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(name_);
}
