#include "tests/results/results_backend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QThread>

#include "results/class_setup.h"

namespace {

// first: the first value of the statement's first row.
bool Run(const TResultsLocation& location, const QString& statement, QString* error = nullptr,
         QVariant* first = nullptr) {
  const QString name = "test-admin-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(location.server ? "QPSQL" : "QSQLITE", name);
    if (location.server) {
      db.setHostName(QString::fromStdString(location.host));
      if (location.port > 0) db.setPort(location.port);
      db.setUserName(QString::fromStdString(location.user));
      db.setDatabaseName(QString::fromStdString(location.database));
      db.setConnectOptions(QString::fromStdString(location.ConnectOptions("-c search_path=tarvolin,public")));
    } else {
      db.setDatabaseName(QString::fromStdString(location.file));
    }
    if (db.open()) {
      QSqlQuery query(db);
      ok = query.exec(statement);
      if (ok && first) *first = query.next() ? query.value(0) : QVariant();
      if (!ok && error) *error = query.lastError().text();
    } else if (error) {
      *error = db.lastError().text();
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(name);
  return ok;
}

}  // namespace

std::string TestServerAddress() {
  QFile file(QCoreApplication::applicationDirPath() + "/results-pg-address");
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().trimmed().toStdString();
}

TBackendPlace::TBackendPlace(TBackend backend) : backend_(backend) {
  if (backend == TBackend::Postgresql) available_ = !TestServerAddress().empty();
}

TBackendPlace::~TBackendPlace() {
  if (backend_ != TBackend::Postgresql || !available_) return;
  TResultsLocation admin;
  TResultsLocation::Parse(TestServerAddress(), admin);
  for (const std::string& database : databases_)
    Run(admin, QString::fromStdString("DROP DATABASE IF EXISTS " + database + " WITH (FORCE)"));
}

TResultsLocation TBackendPlace::NewLocation() {
  if (backend_ == TBackend::Sqlite)
    return TResultsLocation::File(
        folder_.filePath(QStringLiteral("results-%1.db").arg(++files_)).toStdString());
  TResultsLocation location;
  TResultsLocation::Parse(TestServerAddress(), location);
  const std::string database =
      "results_" + QUuid::createUuid().toString(QUuid::Id128).left(16).toStdString();
  QString error;
  EXPECT_TRUE(Run(location, QString::fromStdString("CREATE DATABASE " + database), &error))
      << error.toStdString();
  databases_.push_back(database);
  location.database = database;
  // Set up as the teacher does before the class's first answer.
  TClassSetup setup;
  EXPECT_TRUE(setup.Connect(location) && setup.Setup()) << setup.Error();
  return location;
}

bool TBackendPlace::Execute(const TResultsLocation& location, const QString& statement) {
  QString error;
  const bool ok = Run(location, statement, &error);
  EXPECT_TRUE(ok) << error.toStdString();
  return ok;
}

bool TBackendPlace::WaitForOtherClients(const TResultsLocation& location) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 60000) {
    QVariant others;
    QString error;
    if (!Run(location,
             "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database()"
             " AND backend_type = 'client backend' AND pid <> pg_backend_pid()",
             &error, &others)) {
      ADD_FAILURE() << error.toStdString();
      return false;
    }
    if (others.toLongLong() == 0) return true;
    QThread::msleep(20);
  }
  ADD_FAILURE() << "another client stayed connected to " << location.database << " for 60 s";
  return false;
}

QString WriterProgram() {
  return QCoreApplication::applicationDirPath() + "/results_writer";
}
