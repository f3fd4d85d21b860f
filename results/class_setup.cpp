#include "results/class_setup.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include "results/qstring_of.h"
#include "results/results_store.h"
#include "results/server_diagnosis.h"
#include "results/summary_queries.h"

namespace {

// What the store keeps on a server. The summaries are views over the answers (made after
// these), computed with the reader's own rights (security_invoker, PostgreSQL 15), so each
// login's summaries hold only the answers it may see and no login can change them.
const char* const kServerSchema[] = {
    "CREATE SCHEMA IF NOT EXISTS tarvolin",
    "CREATE TABLE IF NOT EXISTS tarvolin.tarvolin_meta (name TEXT PRIMARY KEY,"
    " value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS tarvolin.answers ("
    " answer_id TEXT PRIMARY KEY, run_id TEXT NOT NULL, run_started TEXT NOT NULL,"
    " answered_at TEXT NOT NULL, student TEXT NOT NULL,"
    " login TEXT NOT NULL DEFAULT session_user, types TEXT NOT NULL,"
    " question_number INTEGER NOT NULL, question TEXT NOT NULL, question_type INTEGER NOT NULL,"
    " stored_answer TEXT NOT NULL, first_answer TEXT NOT NULL, final_answer TEXT NOT NULL,"
    " first_score INTEGER NOT NULL, final_score INTEGER NOT NULL, ending TEXT NOT NULL,"
    " seconds INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS answers_by_time ON tarvolin.answers (answered_at, answer_id)",
    "CREATE INDEX IF NOT EXISTS answers_by_login ON tarvolin.answers (login)",
    "CREATE TABLE IF NOT EXISTS tarvolin.coaching (answer_id TEXT NOT NULL"
    " REFERENCES tarvolin.answers ON DELETE CASCADE, seq INTEGER NOT NULL,"
    " step TEXT NOT NULL, substance TEXT NOT NULL, PRIMARY KEY (answer_id, seq))",
};

// The two groups and what each may do; run again, it puts back any right taken away.
const char* const kRights[] = {
    "DO $$ BEGIN CREATE ROLE tarvolin_teachers NOLOGIN;"
    " EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$",
    "DO $$ BEGIN CREATE ROLE tarvolin_students NOLOGIN;"
    " EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$",
    "REVOKE ALL ON ALL TABLES IN SCHEMA tarvolin FROM PUBLIC",
    "GRANT USAGE ON SCHEMA tarvolin TO tarvolin_teachers, tarvolin_students",
    "GRANT SELECT ON tarvolin.tarvolin_meta, tarvolin.run_summary, tarvolin.type_summary,"
    " tarvolin.step_summary, tarvolin.question_summary, tarvolin.first_answer_summary"
    " TO tarvolin_teachers, tarvolin_students",
    "REVOKE UPDATE, DELETE, TRUNCATE, REFERENCES, TRIGGER ON tarvolin.answers, tarvolin.coaching"
    " FROM tarvolin_students",
    "GRANT SELECT, INSERT ON tarvolin.answers, tarvolin.coaching TO tarvolin_students",
    "GRANT SELECT, INSERT, DELETE ON tarvolin.answers, tarvolin.coaching TO tarvolin_teachers",
    "ALTER TABLE tarvolin.answers ENABLE ROW LEVEL SECURITY",
    "ALTER TABLE tarvolin.coaching ENABLE ROW LEVEL SECURITY",
    "DROP POLICY IF EXISTS students_read ON tarvolin.answers",
    "DROP POLICY IF EXISTS students_add ON tarvolin.answers",
    "DROP POLICY IF EXISTS teachers_all ON tarvolin.answers",
    "DROP POLICY IF EXISTS students_read ON tarvolin.coaching",
    "DROP POLICY IF EXISTS students_add ON tarvolin.coaching",
    "DROP POLICY IF EXISTS teachers_all ON tarvolin.coaching",
    "CREATE POLICY students_read ON tarvolin.answers FOR SELECT TO tarvolin_students"
    " USING (login = session_user)",
    "CREATE POLICY students_add ON tarvolin.answers FOR INSERT TO tarvolin_students"
    " WITH CHECK (login = session_user)",
    "CREATE POLICY teachers_all ON tarvolin.answers FOR ALL TO tarvolin_teachers"
    " USING (true) WITH CHECK (true)",
    // A coaching note belongs to the answer it is about, which the reader must be able to see.
    "CREATE POLICY students_read ON tarvolin.coaching FOR SELECT TO tarvolin_students USING"
    " (EXISTS (SELECT 1 FROM tarvolin.answers a WHERE a.answer_id = coaching.answer_id))",
    "CREATE POLICY students_add ON tarvolin.coaching FOR INSERT TO tarvolin_students WITH CHECK"
    " (EXISTS (SELECT 1 FROM tarvolin.answers a WHERE a.answer_id = coaching.answer_id))",
    "CREATE POLICY teachers_all ON tarvolin.coaching FOR ALL TO tarvolin_teachers"
    " USING (true) WITH CHECK (true)",
};

}  // namespace

TClassSetup::TClassSetup()
    : connectionName_("tarvolin-class-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

TClassSetup::~TClassSetup() {
  if (db_.isValid()) {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
  }
}

bool TClassSetup::Fail(const std::string& what, const QString& detail) {
  error_ = what;
  if (!detail.trimmed().isEmpty()) error_ += " (" + detail.trimmed().toStdString() + ")";
  return false;
}

bool TClassSetup::Exec(const QString& statement) {
  QSqlQuery query(db_);
  if (query.exec(statement)) return true;
  const QString state = query.lastError().nativeErrorCode();
  if (state == "42501")
    return Fail("The login " + ConnectionLogin(location_) +
                    " may not do this; run it as the database's owner with the right to create "
                    "roles",
                query.lastError().databaseText());
  return Fail("The class server refused a step of the setup", query.lastError().databaseText());
}

bool TClassSetup::Connect(const TResultsLocation& location) {
  location_ = location;
  if (!location.server) return Fail("Give a class server address postgresql://user@host/dbname", {});
  if (!QSqlDatabase::isDriverAvailable("QPSQL"))
    return Fail("The PostgreSQL driver of Qt SQL (libqt6sql6-psql) is not installed", {});
  db_ = QSqlDatabase::addDatabase("QPSQL", connectionName_);
  db_.setHostName(QStringOf(location.host));
  if (location.port > 0) db_.setPort(location.port);
  db_.setUserName(QStringOf(location.user));
  db_.setPassword(QStringOf(location.password));
  db_.setDatabaseName(QStringOf(location.database));
  // The views' queries name the tables as the store does, found in our schema.
  db_.setConnectOptions(QStringOf(
      location.ConnectOptions("-c client_min_messages=warning -c search_path=tarvolin", 10)));
  if (db_.open()) return true;
  const QString detail = db_.lastError().databaseText();
  return Fail(ServerProblemText(DiagnoseServer(location), location), detail);
}

bool TClassSetup::Setup() {
  if (!db_.transaction()) return Fail("The class server cannot start a transaction", db_.lastError().databaseText());
  bool ok = true;
  for (const char* statement : kServerSchema) ok = ok && Exec(statement);
  for (const TSummaryQuery& summary : kSummaryQueries)
    ok = ok && Exec(QStringLiteral("CREATE OR REPLACE VIEW tarvolin.%1 WITH (security_invoker = true)"
                                   " AS %2")
                        .arg(summary.table, QStringOf(SummarySelect(summary, true))));
  if (ok) {
    QSqlQuery version(db_);
    version.prepare(
        "INSERT INTO tarvolin.tarvolin_meta (name, value) VALUES ('schema_version', ?)"
        " ON CONFLICT (name) DO NOTHING");
    version.addBindValue(QString::number(TResultsStore::kSchemaVersion));
    ok = version.exec() || Fail("The class server refused a step of the setup",
                                version.lastError().databaseText());
  }
  for (const char* statement : kRights) ok = ok && Exec(statement);
  const int64_t brought = ok ? BringEarlierAnswers() : -1;
  ok = ok && brought >= 0;
  if (!ok || !db_.commit()) {
    if (error_.empty()) Fail("The setup could not be saved", db_.lastError().databaseText());
    db_.rollback();
    return false;
  }
  summary_ = "Set up " + location_.Describe() + " for Tarvolin" +
             (brought > 0 ? ", with the " + std::to_string(brought) +
                                " answers an earlier version kept in its public tables"
                          : std::string()) +
             ": add logins with add-student and add-teacher.";
  return true;
}

int64_t TClassSetup::BringEarlierAnswers() {
  // An earlier version kept a class's answers in the public schema, under its own meta table
  // with version 1; they are copied into ours (each once, by its id) and left where they were.
  QSqlQuery earlier(db_);
  if (!earlier.exec("SELECT to_regclass('public.tarvolin_meta') IS NOT NULL"
                    " AND to_regclass('public.answers') IS NOT NULL"
                    " AND to_regclass('public.coaching') IS NOT NULL") ||
      !earlier.next())
    return Fail("The class server cannot be read", earlier.lastError().databaseText()), -1;
  if (!earlier.value(0).toBool()) return 0;
  QSqlQuery version(db_);
  if (!version.exec("SELECT value FROM public.tarvolin_meta WHERE name = 'schema_version'") ||
      !version.next() || version.value(0).toString() != "1")
    return 0;
  QSqlQuery copy(db_);
  const bool ok =
      copy.exec("CREATE TEMP TABLE earlier_fresh ON COMMIT DROP AS SELECT answer_id FROM"
                " public.answers WHERE answer_id NOT IN (SELECT answer_id FROM tarvolin.answers)") &&
      copy.exec("INSERT INTO tarvolin.answers SELECT answer_id, run_id, run_started, answered_at,"
                " student, login, types, question_number, question, question_type, stored_answer,"
                " first_answer, final_answer, first_score, final_score, ending, seconds"
                " FROM public.answers WHERE answer_id IN (SELECT answer_id FROM earlier_fresh)") &&
      copy.exec("INSERT INTO tarvolin.coaching SELECT answer_id, seq, step, substance"
                " FROM public.coaching WHERE answer_id IN (SELECT answer_id FROM earlier_fresh)") &&
      copy.exec("SELECT COUNT(*) FROM earlier_fresh") && copy.next();
  if (!ok) return Fail("The earlier answers could not be copied", copy.lastError().databaseText()), -1;
  return copy.value(0).toLongLong();
}

bool TClassSetup::AddLogin(const std::string& login, TGroup group, const std::string* password) {
  const QString role = group == TGroup::Students ? kStudents : kTeachers;
  if (login.empty() || login == kStudents || login == kTeachers)
    return Fail("\"" + login + "\" cannot be a login", {});
  {
    QSqlQuery ready(db_);
    if (!ready.exec("SELECT to_regclass('tarvolin.answers') IS NOT NULL,"
                    " EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '" + role + "')") ||
        !ready.next())
      return Fail("The class server cannot be read", ready.lastError().databaseText());
    if (!ready.value(0).toBool() || !ready.value(1).toBool())
      return Fail(location_.Describe() + " is not set up yet; run tarvolin-class setup first", {});
  }
  QSqlQuery exists(db_);
  exists.prepare("SELECT 1 FROM pg_roles WHERE rolname = ?");
  exists.addBindValue(QStringOf(login));
  if (!exists.exec()) return Fail("The class server cannot be read", exists.lastError().databaseText());
  const bool isNew = !exists.next();
  // Names and the password are quoted by the server itself (format's %I and %L).
  QSqlQuery build(db_);
  build.prepare(
      "SELECT CASE WHEN CAST(? AS BOOLEAN) THEN format('CREATE ROLE %I LOGIN', CAST(? AS TEXT))"
      " ELSE '' END, format('GRANT %I TO %I', CAST(? AS TEXT), CAST(? AS TEXT)),"
      " CASE WHEN CAST(? AS BOOLEAN) THEN format('ALTER ROLE %I PASSWORD %L', CAST(? AS TEXT),"
      " CAST(? AS TEXT)) ELSE '' END");
  build.addBindValue(isNew);
  build.addBindValue(QStringOf(login));
  build.addBindValue(role);
  build.addBindValue(QStringOf(login));
  build.addBindValue(password != nullptr);
  build.addBindValue(QStringOf(login));
  build.addBindValue(password ? QStringOf(*password) : QString());
  if (!build.exec() || !build.next())
    return Fail("The class server refused a step of the setup", build.lastError().databaseText());
  if (!db_.transaction()) return Fail("The class server cannot start a transaction", db_.lastError().databaseText());
  for (int i = 0; i < 3; ++i) {
    const QString statement = build.value(i).toString();
    if (!statement.isEmpty() && !Exec(statement)) {
      db_.rollback();
      return false;
    }
  }
  if (!db_.commit()) return Fail("The login could not be saved", db_.lastError().databaseText());
  const std::string groupName = std::string(group == TGroup::Students ? "students" : "teachers") + " group";
  summary_ = isNew ? "Made the login " + login + " in the " + groupName +
                         (password ? ", with the password given." : ", without a password.")
                   : "Added the existing login " + login + " to the " + groupName +
                         (password ? ", with the password given." : "; its password is unchanged.");
  return true;
}
