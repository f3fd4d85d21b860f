#include "results/class_setup.h"

#include <libpq-fe.h>

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <array>
#include <memory>

#include "model/answer_record.h"
#include "model/question_outcome.h"
#include "model/reaction.h"
#include "results/answer_columns.h"
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
    // When the answer reached the server, by the server's clock whatever the row says.
    "ALTER TABLE tarvolin.answers ADD COLUMN IF NOT EXISTS received_at TIMESTAMPTZ NOT NULL"
    " DEFAULT now()",
    "CREATE OR REPLACE FUNCTION tarvolin.stamp_received() RETURNS trigger LANGUAGE plpgsql AS"
    " $$ BEGIN NEW.received_at := now(); RETURN NEW; END $$",
    "DROP TRIGGER IF EXISTS stamp_received ON tarvolin.answers",
    "CREATE TRIGGER stamp_received BEFORE INSERT OR UPDATE ON tarvolin.answers FOR EACH ROW"
    " EXECUTE FUNCTION tarvolin.stamp_received()",
    "CREATE INDEX IF NOT EXISTS answers_by_time ON tarvolin.answers (answered_at, answer_id)",
    "CREATE INDEX IF NOT EXISTS answers_by_login ON tarvolin.answers (login)",
    "CREATE TABLE IF NOT EXISTS tarvolin.coaching (answer_id TEXT NOT NULL"
    " REFERENCES tarvolin.answers ON DELETE CASCADE, seq INTEGER NOT NULL,"
    " step TEXT NOT NULL, substance TEXT NOT NULL, PRIMARY KEY (answer_id, seq))",
    // A teacher's window grades each answer again; those whose scores it cannot give are
    // left out of the class's figures.
    "CREATE TABLE IF NOT EXISTS tarvolin.regraded (answer_id TEXT PRIMARY KEY"
    " REFERENCES tarvolin.answers ON DELETE CASCADE, scores_match BOOLEAN NOT NULL)",
    "CREATE OR REPLACE VIEW tarvolin.counted_answers WITH (security_invoker = true) AS"
    " SELECT a.* FROM tarvolin.answers a WHERE NOT EXISTS (SELECT 1 FROM tarvolin.regraded g"
    " WHERE g.answer_id = a.answer_id AND NOT g.scores_match)",
};

// Double quotes around a name, as the server reads one whatever it holds.
QString Name(const std::string& name) {
  return "\"" + QStringOf(name).replace("\"", "\"\"") + "\"";
}

QString Literal(const std::string& text) {
  return "'" + QStringOf(text).replace("'", "''") + "'";
}

// What a row must hold to have come from the program; rows kept before these checks are left
// as they are (NOT VALID), every new one is checked.
QString AnswerChecks() {
  QStringList endings, types;
  for (TEnding ending :
       {TEnding::RightAtOnce, TEnding::RightAfterCoaching, TEnding::Answer, TEnding::Quit})
    endings << Literal(std::string(EndingName(ending)));
  const QString full = QString::number(kFullScore);
  return QStringLiteral(
             "answer_id <> '' AND run_id <> '' AND student <> '' AND login <> ''"
             " AND first_score BETWEEN 0 AND %1 AND final_score BETWEEN 0 AND %1"
             " AND ending IN (%2) AND question_type BETWEEN 0 AND %3 AND seconds >= 0"
             " AND question_number >= 0")
      .arg(full, endings.join(", "), QString::number(kReactionTypeCount - 1));
}

QString StepChecks() {
  QStringList steps;
  for (int step = 0; step < kCoachingStepCount; ++step)
    steps << Literal(std::string(CoachingStepName(static_cast<TCoachingStep>(step))));
  return "seq >= 0 AND step IN (" + steps.join(", ") + ")";
}

QString AddCheck(const char* table, const char* name, const QString& check) {
  return QStringLiteral(
             "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_constraint WHERE conname = '%2' AND"
             " conrelid = 'tarvolin.%1'::regclass) THEN ALTER TABLE tarvolin.%1 ADD CONSTRAINT"
             " %2 CHECK (%3) NOT VALID; END IF; END $$")
      .arg(table, name, check);
}

bool ValidUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int extra = c < 0x80         ? 0
                      : (c >> 5) == 6  ? 1
                      : (c >> 4) == 14 ? 2
                      : (c >> 3) == 30 ? 3
                                       : -1;
    if (extra < 0 || (c >= 0x80 && c < 0xC2) || c > 0xF4 || i + extra >= text.size() + (extra == 0))
      return false;
    uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next >> 6) != 2) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

bool HasControl(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

}  // namespace

TClassSetup::TClassSetup() = default;
TClassSetup::~TClassSetup() = default;

std::string TClassSetup::GroupName(const std::string& database, TGroup group) {
  return "tarvolin_" + database + (group == TGroup::Students ? "_students" : "_teachers");
}

std::string TClassSetup::LoginProblem(const std::string& login) {
  if (login.empty()) return "a login needs a name";
  if (login.size() > kMaxNameBytes)
    return "\"" + login + "\" is longer than the " + std::to_string(kMaxNameBytes) +
           " bytes the server keeps of a name";
  if (!ValidUtf8(login)) return "the login is not valid UTF-8 text";
  if (HasControl(login)) return "the login holds a line break or another control character";
  if (login.rfind("pg_", 0) == 0) return "names beginning with pg_ are the server's own";
  if (login == kEarlierStudents || login == kEarlierTeachers ||
      (login.rfind("tarvolin_", 0) == 0 &&
       (login.ends_with("_students") || login.ends_with("_teachers"))))
    return "\"" + login + "\" is the name of a class's group";
  return {};
}

std::string TClassSetup::Where() const {
  return "the class " + location_.database + " on the class server " + location_.HostAndPort();
}

bool TClassSetup::Fail(const std::string& what, const QString& detail) {
  error_ = what;
  const std::string text = OneLine(detail.toStdString());
  if (!text.empty()) error_ += " (" + text + ")";
  return false;
}

bool TClassSetup::Exec(const QString& statement) {
  QSqlQuery query(db_);
  if (query.exec(statement)) return true;
  const QString state = query.lastError().nativeErrorCode();
  if (state == "42501")
    return Fail("The login " + ConnectionLogin(location_) + " may not do this; " +
                    "run setup as the server's administrator (a login that may create roles and "
                    "owns or may grant the database)",
                query.lastError().databaseText());
  return Fail("The class server refused a step of the setup", query.lastError().databaseText());
}

bool TClassSetup::ExecAll(const std::vector<QString>& statements) {
  for (const QString& statement : statements)
    if (!Exec(statement)) return false;
  return true;
}

bool TClassSetup::Connect(const TResultsLocation& location) {
  location_ = location;
  if (!location.server)
    return Fail("Give a class server address postgresql://user@host/dbname", {});
  if (!QSqlDatabase::isDriverAvailable("QPSQL"))
    return Fail("The PostgreSQL driver of Qt SQL (libqt6sql6-psql) is not installed", {});
  const TServerAttempt attempt = TryServer(location, 10);
  if (attempt.problem != TServerProblem::None)
    return Fail(ServerProblemText(attempt.problem, location,
                                  "put it in " + std::string("~/.pgpass") +
                                      " (host:port:database:login:password, mode 0600)"),
                QStringOf(attempt.details));
  connection_.Add("QPSQL");
  db_.setHostName(QStringOf(location.host));
  if (location.port > 0) db_.setPort(location.port);
  db_.setUserName(QStringOf(location.user));
  db_.setPassword(QStringOf(location.password));
  db_.setDatabaseName(QStringOf(location.database));
  // The views' queries name the tables as the store does, found in our schema.
  db_.setConnectOptions(QStringOf(
      location.ConnectOptions("-c client_min_messages=warning -c search_path=tarvolin", 10)));
  if (db_.open()) return true;
  return Fail("The class server at " + location.HostAndPort() + " could not be reached",
              db_.lastError().databaseText());
}

bool TClassSetup::Setup() {
  const std::string& database = location_.database;
  const std::string students = GroupName(database, TGroup::Students);
  const std::string teachers = GroupName(database, TGroup::Teachers);
  if (teachers.size() > kMaxNameBytes)
    return Fail("The database name " + database +
                    " is too long to name its class's groups (at "
                    "most " +
                    std::to_string(kMaxNameBytes - 18) + " bytes)",
                {});
  TSqlTransaction transaction(db_);
  if (!transaction.Begun())
    return Fail("The class server cannot start a transaction", db_.lastError().databaseText());
  const QString s = Name(students), t = Name(teachers), d = Name(database);
  // The answers table from the record's columns, before the statements that name it.
  std::vector<QString> statements(std::begin(kServerSchema), std::end(kServerSchema));
  statements.insert(statements.begin() + 2,
                    QStringOf("CREATE TABLE IF NOT EXISTS tarvolin.answers (" +
                              AnswerColumnDefinitions(true) + ")"));
  statements.push_back(AddCheck("answers", "answers_made_by_tarvolin", AnswerChecks()));
  statements.push_back(AddCheck("coaching", "coaching_made_by_tarvolin", StepChecks()));
  // A class an earlier version set up is brought up to this one, before the views that read it.
  const int version = ServerVersion();
  if (version < 0) return false;
  if (version > TResultsStore::kSchemaVersion)
    return Fail(Where() +
                    " was set up by a newer version of Tarvolin; run that version's "
                    "tarvolin-class",
                {});
  // A new class takes every step too: the tables a step adds are made nowhere else.
  for (const TSchemaStep& step : TResultsStore::SchemaSteps())
    if (step.version > version)
      statements.insert(statements.end(), step.server.begin(), step.server.end());
  statements.push_back(AddCheck("assignments", "assignments_made_by_tarvolin",
                                "id <> '' AND practice_count >= 0 AND shuffled IN (0, 1) AND"
                                " withdrawn IN (0, 1)"));
  for (const TSummaryQuery& summary : kSummaryQueries)
    statements.push_back(
        QStringLiteral("CREATE OR REPLACE VIEW tarvolin.%1 WITH (security_invoker = true) AS %2")
            .arg(summary.table, QStringOf(SummarySelect(summary, true))));
  statements.push_back(
      "INSERT INTO tarvolin.tarvolin_meta (name, value) VALUES ('schema_version', '" +
      QString::number(TResultsStore::kSchemaVersion) +
      "') ON CONFLICT (name) DO UPDATE SET value = excluded.value");
  for (const QString& group : {s, t})
    statements.push_back(
        "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = " +
        Literal(group.mid(1, group.size() - 2).replace("\"\"", "\"").toStdString()) +
        ") THEN CREATE ROLE " + group + " NOLOGIN; END IF; END $$");
  bool ok = ExecAll(statements);
  const int64_t moved = ok ? MoveEarlierGroups() : -1;
  ok = ok && moved >= 0;
  // The class's own rights; run again, they put back any right taken away.
  const std::vector<QString> rights = {
      "REVOKE ALL ON DATABASE " + d + " FROM PUBLIC",
      "GRANT CONNECT ON DATABASE " + d + " TO " + s + ", " + t,
      // A teacher adds logins that exist to her class's students, and no more.
      "GRANT " + s + " TO " + t + " WITH ADMIN OPTION",
      "REVOKE ALL ON ALL TABLES IN SCHEMA tarvolin FROM PUBLIC",
      "REVOKE ALL ON FUNCTION tarvolin.stamp_received() FROM PUBLIC",
      "GRANT USAGE ON SCHEMA tarvolin TO " + t + ", " + s,
      "GRANT SELECT ON tarvolin.tarvolin_meta, tarvolin.counted_answers, tarvolin.run_summary,"
      " tarvolin.type_summary, tarvolin.step_summary, tarvolin.question_summary,"
      " tarvolin.first_answer_summary, tarvolin.regraded TO " +
          t + ", " + s,
      "REVOKE UPDATE, DELETE, TRUNCATE, REFERENCES, TRIGGER ON tarvolin.answers,"
      " tarvolin.coaching, tarvolin.regraded FROM " +
          s,
      "GRANT SELECT, INSERT ON tarvolin.answers, tarvolin.coaching TO " + s,
      "GRANT SELECT, INSERT, DELETE ON tarvolin.answers, tarvolin.coaching, tarvolin.regraded"
      " TO " +
          t,
      // Every login of the class reads its assignments; only its teachers give and change them
      // (withdrawing is a change: nothing is deleted, so that their answers keep their titles).
      "REVOKE INSERT, UPDATE, DELETE, TRUNCATE, REFERENCES, TRIGGER ON tarvolin.assignments,"
      " tarvolin.assignment_reactions FROM " +
          s,
      "GRANT SELECT ON tarvolin.assignments, tarvolin.assignment_reactions TO " + s + ", " + t,
      "GRANT INSERT, UPDATE ON tarvolin.assignments, tarvolin.assignment_reactions TO " + t,
      "ALTER TABLE tarvolin.answers ENABLE ROW LEVEL SECURITY",
      "ALTER TABLE tarvolin.coaching ENABLE ROW LEVEL SECURITY",
      "DROP POLICY IF EXISTS students_read ON tarvolin.answers",
      "DROP POLICY IF EXISTS students_add ON tarvolin.answers",
      "DROP POLICY IF EXISTS teachers_all ON tarvolin.answers",
      "DROP POLICY IF EXISTS students_read ON tarvolin.coaching",
      "DROP POLICY IF EXISTS students_add ON tarvolin.coaching",
      "DROP POLICY IF EXISTS teachers_all ON tarvolin.coaching",
      "CREATE POLICY students_read ON tarvolin.answers FOR SELECT TO " + s +
          " USING (login = session_user)",
      "CREATE POLICY students_add ON tarvolin.answers FOR INSERT TO " + s +
          " WITH CHECK (login = session_user)",
      "CREATE POLICY teachers_all ON tarvolin.answers FOR ALL TO " + t +
          " USING (true) WITH CHECK (true)",
      // A coaching note belongs to the answer it is about, which the reader must be able to see.
      "CREATE POLICY students_read ON tarvolin.coaching FOR SELECT TO " + s +
          " USING (EXISTS (SELECT 1 FROM tarvolin.answers a WHERE a.answer_id ="
          " coaching.answer_id))",
      "CREATE POLICY students_add ON tarvolin.coaching FOR INSERT TO " + s +
          " WITH CHECK (EXISTS (SELECT 1 FROM tarvolin.answers a WHERE a.answer_id ="
          " coaching.answer_id))",
      "CREATE POLICY teachers_all ON tarvolin.coaching FOR ALL TO " + t +
          " USING (true) WITH CHECK (true)",
  };
  ok = ok && ExecAll(rights);
  const int64_t brought = ok ? BringEarlierAnswers() : -1;
  ok = ok && brought >= 0;
  if (!ok || !transaction.Commit())
    return error_.empty() ? Fail("The setup could not be saved", db_.lastError().databaseText())
                          : false;
  summary_ =
      "Set up " + Where() + " for Tarvolin" +
      (brought > 0 ? ", with the " + std::to_string(brought) +
                         " answers an earlier version kept in its public tables"
                   : std::string()) +
      (moved > 0 ? ", its " + std::to_string(moved) + " logins moved into the class's own groups"
                 : std::string()) +
      ": add logins with add-student and add-teacher.";
  return true;
}

int TClassSetup::ServerVersion() {
  // Read before anything is made, through the catalog, so that no failed statement ends the
  // transaction: 0 for a class not set up yet.
  QSqlQuery query(db_);
  if (!query.exec("SELECT to_regclass('tarvolin.tarvolin_meta') IS NOT NULL") || !query.next())
    return Fail("The class server cannot be read", query.lastError().databaseText()), -1;
  if (!query.value(0).toBool()) return 0;
  if (!query.exec("SELECT value FROM tarvolin.tarvolin_meta WHERE name = 'schema_version'"))
    return Fail("The class server cannot be read", query.lastError().databaseText()), -1;
  return query.next() ? query.value(0).toInt() : 0;
}

int64_t TClassSetup::MoveEarlierGroups() {
  // The last version's groups were the server's, shared by every class on it. Their members
  // join this class's groups; the earlier groups keep no right here (they are left to the
  // other classes that still use them until their own setup runs).
  int64_t moved = 0;
  for (const auto& [earlier, group] : {std::pair{kEarlierStudents, TGroup::Students},
                                       std::pair{kEarlierTeachers, TGroup::Teachers}}) {
    QSqlQuery members(db_);
    members.prepare(
        "SELECT m.rolname, has_schema_privilege(g.oid, 'tarvolin', 'USAGE')"
        " FROM pg_roles g JOIN pg_auth_members am ON am.roleid = g.oid"
        " JOIN pg_roles m ON m.oid = am.member WHERE g.rolname = ? AND m.rolcanlogin");
    members.addBindValue(QString(earlier));
    if (!members.exec())
      return Fail("The class server cannot be read", members.lastError().databaseText()), -1;
    std::vector<std::string> logins;
    while (members.next())
      if (members.value(1).toBool()) logins.push_back(members.value(0).toString().toStdString());
    for (const std::string& login : logins) {
      if (!Exec("GRANT " + Name(GroupName(location_.database, group)) + " TO " + Name(login)))
        return -1;
      ++moved;
    }
    QSqlQuery exists(db_);
    if (!exists.exec(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = '%1'").arg(earlier)))
      return Fail("The class server cannot be read", exists.lastError().databaseText()), -1;
    if (exists.next() &&
        !ExecAll(
            {QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA tarvolin FROM %1").arg(earlier),
             QStringLiteral("REVOKE ALL ON SCHEMA tarvolin FROM %1").arg(earlier)}))
      return -1;
  }
  return moved;
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
      copy.exec(
          "CREATE TEMP TABLE earlier_fresh ON COMMIT DROP AS SELECT answer_id FROM"
          " public.answers WHERE answer_id NOT IN (SELECT answer_id FROM tarvolin.answers)") &&
      copy.exec(QStringOf("INSERT INTO tarvolin.answers (" + AnswerColumnNames({}, 1) +
                          ") SELECT " + AnswerColumnNames({}, 1) +
                          " FROM public.answers WHERE answer_id IN"
                          " (SELECT answer_id FROM earlier_fresh)")) &&
      copy.exec(
          "INSERT INTO tarvolin.coaching SELECT answer_id, seq, step, substance"
          " FROM public.coaching WHERE answer_id IN (SELECT answer_id FROM earlier_fresh)") &&
      copy.exec("SELECT COUNT(*) FROM earlier_fresh") && copy.next();
  if (!ok)
    return Fail("The earlier answers could not be copied", copy.lastError().databaseText()), -1;
  return copy.value(0).toLongLong();
}

std::string TClassSetup::HashedPassword(const std::string& login, const std::string& password) {
  // Hashed here as the server's password_encryption asks, so that no statement, log line or
  // view of the server ever holds the password itself.
  const QVariant handle = db_.driver()->handle();
  // Qt names the driver's handle by the structure behind libpq's PGconn.
  PGconn* conn = handle.isValid() && (qstrcmp(handle.typeName(), "PGconn*") == 0 ||
                                      qstrcmp(handle.typeName(), "pg_conn*") == 0)
                     ? *static_cast<PGconn* const*>(handle.data())
                     : nullptr;
  if (!conn) return {};
  const std::unique_ptr<char, decltype(&PQfreemem)> hashed(
      PQencryptPasswordConn(conn, password.c_str(), login.c_str(), nullptr), &PQfreemem);
  return hashed ? std::string(hashed.get()) : std::string();
}

bool TClassSetup::AddLogin(const std::string& login, TGroup group, const std::string* password,
                           bool existing) {
  const std::string groupName = GroupName(location_.database, group);
  const std::string kind = group == TGroup::Students ? "students" : "teachers";
  if (const std::string problem = LoginProblem(login); !problem.empty())
    return Fail("The login cannot be added: " + problem, {});
  if (password && existing)
    return Fail(
        "--password-stdin cannot go with --existing: the password of a login that "
        "exists is never changed here",
        {});
  if (password && (password->empty() || HasControl(*password)))
    return Fail("The password cannot be empty or hold a line break or another control character",
                {});
  {
    QSqlQuery ready(db_);
    ready.prepare(
        "SELECT to_regclass('tarvolin.answers') IS NOT NULL,"
        " EXISTS (SELECT 1 FROM pg_roles WHERE rolname = ?)");
    ready.addBindValue(QStringOf(groupName));
    if (!ready.exec() || !ready.next())
      return Fail("The class server cannot be read", ready.lastError().databaseText());
    if (!ready.value(0).toBool() || !ready.value(1).toBool())
      return Fail(Where() + " is not set up yet; run tarvolin-class setup first", {});
  }
  const std::string students = GroupName(location_.database, TGroup::Students);
  const std::string teachers = GroupName(location_.database, TGroup::Teachers);
  QSqlQuery role(db_);
  role.prepare(
      "SELECT r.rolsuper, r.rolcanlogin, r.oid = d.datdba, r.rolname = session_user,"
      " pg_has_role(r.oid, ?, 'MEMBER'), pg_has_role(r.oid, ?, 'MEMBER')"
      " FROM pg_roles r, pg_database d WHERE d.datname = current_database() AND r.rolname = ?");
  role.addBindValue(QStringOf(teachers));
  role.addBindValue(QStringOf(students));
  role.addBindValue(QStringOf(login));
  if (!role.exec()) return Fail("The class server cannot be read", role.lastError().databaseText());
  const bool exists = role.next();
  if (exists) {
    if (!existing)
      return Fail("The login " + login +
                      " exists already on this server; give --existing to "
                      "add it to this class as it is (its password is not changed)",
                  {});
    if (role.value(0).toBool()) return Fail(login + " is a superuser and cannot be in a class", {});
    if (!role.value(1).toBool())
      return Fail(login + " is a group, not a login: it cannot log in", {});
    if (role.value(2).toBool())
      return Fail(login + " owns the database of " + Where() + " and cannot be in its groups", {});
    if (role.value(3).toBool()) return Fail(login + " is your own login", {});
    // A teacher of the class is a member of its students' group through the teachers'.
    const bool teacher = role.value(4).toBool();
    const bool student = role.value(5).toBool() && !teacher;
    if (teacher && group == TGroup::Students)
      return Fail(login + " is a teacher of " + Where(), {});
    if (student && group == TGroup::Teachers)
      return Fail(login + " is a student of " + Where(), {});
  } else if (existing) {
    return Fail("There is no login " + login + " on the class server " + location_.HostAndPort() +
                    " to add; leave out --existing to make it",
                {});
  }
  std::vector<QString> statements;
  if (!exists) {
    QString create = "CREATE ROLE " + Name(login) + " LOGIN";
    if (password) {
      const std::string hashed = HashedPassword(login, *password);
      if (hashed.empty()) return Fail("The password could not be hashed for the server", {});
      create += " PASSWORD " + Literal(hashed);
    }
    statements.push_back(create);
  }
  statements.push_back("GRANT " + Name(groupName) + " TO " + Name(login));
  TSqlTransaction transaction(db_);
  if (!transaction.Begun())
    return Fail("The class server cannot start a transaction", db_.lastError().databaseText());
  for (const QString& statement : statements) {
    QSqlQuery query(db_);
    if (query.exec(statement)) continue;
    const bool denied = query.lastError().nativeErrorCode() == "42501";
    if (denied && !exists)
      return Fail(
          "Only the server's administrator (a login that may create roles) can make a "
          "new login; ask them to make " +
              login + ", or give --existing for a login that exists",
          query.lastError().databaseText());
    if (denied)
      return Fail("The login " + ConnectionLogin(location_) + " may not add logins to the " + kind +
                      " of " + Where() + "; a teacher of the class or the administrator can",
                  query.lastError().databaseText());
    return Fail("The class server refused to add the login", query.lastError().databaseText());
  }
  if (!transaction.Commit())
    return Fail("The login could not be saved", db_.lastError().databaseText());
  summary_ = exists ? "Added the existing login " + login + " to the " + kind + " of " + Where() +
                          "; its password is unchanged."
                    : "Made the login " + login + " in the " + kind + " of " + Where() +
                          (password ? ", with the password given." : ", without a password.");
  return true;
}
