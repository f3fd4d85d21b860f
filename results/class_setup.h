#pragma once
#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <string>

#include "results/results_location.h"

// A class server made ready for Tarvolin: the results schema "tarvolin" with its tables, the
// summaries as views computed from the answers each login may see, and two group roles.
// Students add their own answers and read only those; teachers read everything and may clear.
// The server enforces this (row-level security and grants), so a student's SQL client can do
// no more than the program. Used by tarvolin-class and the tests; no widgets.
class TClassSetup {
 public:
  static constexpr const char* kTeachers = "tarvolin_teachers";
  static constexpr const char* kStudents = "tarvolin_students";
  enum class TGroup { Students, Teachers };

  TClassSetup();
  ~TClassSetup();
  TClassSetup(const TClassSetup&) = delete;
  TClassSetup& operator=(const TClassSetup&) = delete;

  bool Connect(const TResultsLocation& location);
  // Makes or completes the schema, the roles and their rights; safe to run again.
  bool Setup();
  // A login in the group, made when it does not exist; with a password when one is given.
  bool AddLogin(const std::string& login, TGroup group, const std::string* password);

  // The one line said on success, and why the last step failed.
  const std::string& Summary() const { return summary_; }
  const std::string& Error() const { return error_; }

 private:
  bool Exec(const QString& statement);
  // Copies the answers an earlier version kept in the public schema; how many, -1 on failure.
  int64_t BringEarlierAnswers();
  bool Fail(const std::string& what, const QString& detail);

  QString connectionName_;
  QSqlDatabase db_;
  TResultsLocation location_;
  std::string summary_;
  std::string error_;
};
