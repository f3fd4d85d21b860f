#pragma once
#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <string>

#include "results/results_location.h"
#include "results/sql_connection.h"

// A class server made ready for Tarvolin. A class is one database: the results schema
// "tarvolin" with its tables, the summaries as views computed from the answers each login may
// see, and two group roles of its own (tarvolin_DB_students, tarvolin_DB_teachers). Only those
// groups and the database's owner may connect to it; students add their own answers and read
// only those, teachers read everything in their class and may clear it, and nothing one class
// grants gives any right in another. The server enforces this (CONNECT, grants, row-level
// security and checks on every row), so a student's SQL client can do no more than the program.
// Used by tarvolin-class and the tests; no widgets.
class TClassSetup {
 public:
  enum class TGroup { Students, Teachers };
  // The groups of every class before classes were kept apart; setup moves their members.
  static constexpr const char* kEarlierTeachers = "tarvolin_teachers";
  static constexpr const char* kEarlierStudents = "tarvolin_students";
  // The server cuts role names at 63 bytes.
  static constexpr std::size_t kMaxNameBytes = 63;

  TClassSetup();
  ~TClassSetup();
  TClassSetup(const TClassSetup&) = delete;
  TClassSetup& operator=(const TClassSetup&) = delete;

  // The group of a class (a database) on its server.
  static std::string GroupName(const std::string& database, TGroup group);
  // Why a name cannot be a login ("" when it can): empty, over 63 bytes, not UTF-8, a control
  // character, or a name the server keeps for itself.
  static std::string LoginProblem(const std::string& login);

  bool Connect(const TResultsLocation& location);
  // Makes or completes the schema, the class's groups and their rights; safe to run again. A
  // class an earlier version set up is moved to groups of its own, its logins kept in them.
  bool Setup();
  // Puts a login in one of the class's groups. A new login is made (with the password given,
  // sent hashed); one that exists is taken only when existing is true, and then its password is
  // never changed. A superuser, a login that cannot log in, the database's owner, the caller's
  // own login and a member of the class's other group are refused.
  bool AddLogin(const std::string& login, TGroup group, const std::string* password,
                bool existing = false);

  // The one line said on success, and why the last step failed.
  const std::string& Summary() const { return summary_; }
  const std::string& Error() const { return error_; }

 private:
  bool Exec(const QString& statement);
  bool ExecAll(const std::vector<QString>& statements);
  // Copies the answers an earlier version kept in the public schema; how many, -1 on failure.
  int64_t BringEarlierAnswers();
  // Puts the members of the earlier server-wide groups into this class's; how many, -1 on failure.
  int64_t MoveEarlierGroups();
  // The schema version the class was set up with, 0 for none yet, -1 when it cannot be read.
  int ServerVersion();
  bool Fail(const std::string& what, const QString& detail);
  // "the class chem on the class server school.example:5432", for messages.
  std::string Where() const;
  std::string HashedPassword(const std::string& login, const std::string& password);

  TSqlConnection connection_{"tarvolin-class"};
  QSqlDatabase& db_ = connection_.Db();
  TResultsLocation location_;
  std::string summary_;
  std::string error_;
};
