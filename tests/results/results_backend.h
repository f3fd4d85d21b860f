#pragma once
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QUuid>
#include <string>

#include "results/results_location.h"

// The two places a results store can be: a SQLite file in a temporary folder, and a fresh
// database on the PostgreSQL server that the test run started (its address is in
// results-pg-address beside the test program; no server, and those cases skip).
enum class TBackend { Sqlite, Postgresql };

inline std::string BackendName(const ::testing::TestParamInfo<TBackend>& info) {
  return info.param == TBackend::Sqlite ? "Sqlite" : "Postgresql";
}

// The test server's address with the "postgres" database; empty when there is none.
std::string TestServerAddress();
// The results_writer program beside the test program.
QString WriterProgram();

class TBackendPlace {
 public:
  explicit TBackendPlace(TBackend backend);
  ~TBackendPlace();
  TBackendPlace(const TBackendPlace&) = delete;
  TBackendPlace& operator=(const TBackendPlace&) = delete;

  bool Available() const { return available_; }
  // A location of its own, empty until first written: each call a fresh one.
  TResultsLocation NewLocation();
  TBackend Backend() const { return backend_; }
  const QTemporaryDir& Folder() const { return folder_; }

  // Runs one statement on the location's database, beside the store.
  static bool Execute(const TResultsLocation& location, const QString& statement);
  // Waits (up to a minute) until no other client is connected to the server location's
  // database: the server finishes a commit that a killed client had sent, after the kill.
  static bool WaitForOtherClients(const TResultsLocation& location);

 private:
  TBackend backend_;
  bool available_ = true;
  QTemporaryDir folder_;
  std::vector<std::string> databases_;
  int files_ = 0;
};

#define SKIP_WITHOUT_BACKEND(place) \
  if (!(place).Available()) GTEST_SKIP() << "no PostgreSQL server was started for the tests"
