#include "results/results_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <cerrno>
#include <map>
#include <tuple>
#include <unordered_map>

#include "coach/rules/regrade.h"
#include "model/question_outcome.h"
#include "results/answer_columns.h"
#include "results/assignment_progress.h"
#include "results/class_setup.h"
#include "results/qstring_of.h"
#include "results/results_file.h"
#include "results/server_diagnosis.h"
#include "results/summary_queries.h"

namespace {

std::string S(const QVariant& value) {
  return value.toString().toStdString();
}

// The assignments a file keeps, made with a new file and by the upgrade to version 2 alike.
const char* const kAssignmentsTable =
    "CREATE TABLE IF NOT EXISTS assignments (id TEXT PRIMARY KEY, title TEXT NOT NULL,"
    " due TEXT NOT NULL, assigned_at TEXT NOT NULL, teacher TEXT NOT NULL,"
    " shuffled INTEGER NOT NULL, withdrawn INTEGER NOT NULL, practice_count INTEGER NOT NULL)";
const char* const kAssignmentReactionsTable =
    "CREATE TABLE IF NOT EXISTS assignment_reactions (assignment_id TEXT NOT NULL,"
    " place INTEGER NOT NULL, question TEXT NOT NULL, type INTEGER NOT NULL,"
    " record BLOB NOT NULL, PRIMARY KEY (assignment_id, place))";
// One student's answers to one assignment, for a cell of the grid.
const char* const kAnswersByAssignment =
    "CREATE INDEX IF NOT EXISTS answers_by_assignment ON answers (assignment_id, student)";
// The grid's summaries in a file, kept with each answer as the others are: each student's first
// answer to each question of an assignment, and what they come to for her and the assignment.
const char* const kAssignmentFirstsTable =
    "CREATE TABLE IF NOT EXISTS assignment_firsts (assignment_id TEXT NOT NULL,"
    " student TEXT NOT NULL, question_key TEXT NOT NULL, first_score INTEGER NOT NULL,"
    " answered_at TEXT NOT NULL, answer_id TEXT NOT NULL,"
    " PRIMARY KEY (assignment_id, student, question_key))";
const char* const kAssignmentSummaryTable =
    "CREATE TABLE IF NOT EXISTS assignment_summary (assignment_id TEXT NOT NULL,"
    " student TEXT NOT NULL, answered INTEGER NOT NULL, first_points INTEGER NOT NULL,"
    " last_answered_at TEXT NOT NULL, PRIMARY KEY (student, assignment_id))";
// The first answers worked out afresh from the answers ({who}: how a student is named), and
// one student's tally of one assignment from them.
const char* const kFirstAnswers =
    "SELECT assignment_id, who, question_key, first_score, answered_at, answer_id FROM"
    " (SELECT assignment_id, {who} AS who, question || '\n' || stored_answer AS question_key,"
    " first_score, answered_at, answer_id, ROW_NUMBER() OVER (PARTITION BY assignment_id, {who},"
    " question, stored_answer ORDER BY answered_at, answer_id) AS nth FROM {answers}"
    " WHERE assignment_id <> '' AND ending <> 'quit') AS firsts WHERE nth = 1";
const char* const kTallyOfFirsts =
    "INSERT OR REPLACE INTO assignment_summary SELECT assignment_id, student, COUNT(*),"
    " SUM(first_score), MAX(answered_at) FROM assignment_firsts%1 GROUP BY assignment_id, student";

// Texts are TEXT and numbers INTEGER in both databases; upserts need SQLite 3.24 or
// PostgreSQL 9.5, and name the table in their SET clauses, which both accept.
// The answers table first, made from the record's columns; the statements after it are fixed.
const char* const kSchema[] = {
    kAssignmentsTable,
    kAssignmentReactionsTable,
    kAnswersByAssignment,
    kAssignmentFirstsTable,
    kAssignmentSummaryTable,
    "CREATE TABLE IF NOT EXISTS tarvolin_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS answers_by_time ON answers (answered_at, answer_id)",
    "CREATE TABLE IF NOT EXISTS coaching (answer_id TEXT NOT NULL, seq INTEGER NOT NULL,"
    " step TEXT NOT NULL, substance TEXT NOT NULL, PRIMARY KEY (answer_id, seq))",
    "CREATE TABLE IF NOT EXISTS run_summary (run_id TEXT PRIMARY KEY, started TEXT NOT NULL,"
    " student TEXT NOT NULL, types TEXT NOT NULL, earned INTEGER NOT NULL,"
    " possible INTEGER NOT NULL, answers INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS runs_by_start ON run_summary (started)",
    "CREATE INDEX IF NOT EXISTS runs_by_student ON run_summary (student, started)",
    "CREATE TABLE IF NOT EXISTS type_summary (student TEXT NOT NULL,"
    " question_type INTEGER NOT NULL, answered INTEGER NOT NULL, first_points INTEGER NOT NULL,"
    " final_points INTEGER NOT NULL, possible INTEGER NOT NULL,"
    " PRIMARY KEY (student, question_type))",
    "CREATE TABLE IF NOT EXISTS step_summary (student TEXT NOT NULL,"
    " question_type INTEGER NOT NULL, step TEXT NOT NULL, times INTEGER NOT NULL,"
    " PRIMARY KEY (student, question_type, step))",
    "CREATE TABLE IF NOT EXISTS question_summary (question_key TEXT PRIMARY KEY,"
    " question TEXT NOT NULL, question_type INTEGER NOT NULL, asked INTEGER NOT NULL,"
    " missed INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS questions_by_missed ON question_summary (missed, question_key)",
    "CREATE TABLE IF NOT EXISTS first_answer_summary (question_key TEXT NOT NULL,"
    " first_answer TEXT NOT NULL, times INTEGER NOT NULL, PRIMARY KEY (question_key, "
    "first_answer))",
    "CREATE INDEX IF NOT EXISTS first_answers_by_times ON first_answer_summary"
    " (question_key, times)",
};

const char* const kTables[] = {
    "answers",           "coaching",         "run_summary",          "type_summary",
    "step_summary",      "question_summary", "first_answer_summary", "assignment_firsts",
    "assignment_summary"};

bool IsOurTable(const std::string& name) {
  // The assignments are not results: Clear leaves them.
  if (name == "tarvolin_meta" || name == "assignments" || name == "assignment_reactions")
    return true;
  for (const char* table : kTables)
    if (name == table) return true;
  return false;
}

QString FirstAnswers(bool server) {
  return QString(kFirstAnswers)
      .replace("{who}", server ? "login" : "student")
      .replace("{answers}", server ? "counted_answers" : "answers");
}

std::string QuestionKey(const TAnswerRecord& record) {
  return record.question + '\n' + record.storedAnswer;
}

}  // namespace

TResultsStore::TResultsStore() = default;

TResultsStore::~TResultsStore() {
  Close();
}

void TResultsStore::Close() {
  connection_.Remove();
  open_ = false;
  readOnly_ = false;
  inMemory_ = false;
  schemaVersion_ = 0;
  seesEveryone_ = true;
  login_.clear();
}

void TResultsStore::Fail(const std::string& what, const QString& driverText) {
  FailSaying(location_.DescribeAtStart() + " " + what, location_.Describe() + " " + what,
             driverText);
}

void TResultsStore::FailSaying(const std::string& atStart, const std::string& inSentence,
                               const QString& driverText) {
  failure_ = TFailure::TryLater;
  error_ = atStart;
  errorInSentence_ = inSentence;
  details_ = driverText.trimmed().toStdString();
  // A file is the teacher's to mend, so its reason is said; a server's stays in the details.
  if (!location_.server && !details_.empty()) {
    error_ += " (" + details_ + ")";
    errorInSentence_ += " (" + details_ + ")";
  }
}

void TResultsStore::SetNotice(const std::string& what) {
  notice_ = location_.DescribeAtStart() + what;
  noticeInSentence_ = location_.Describe() + what;
}

void TResultsStore::SetError(const std::string& atStart, const std::string& inSentence) {
  error_ = atStart;
  errorInSentence_ = inSentence;
}

bool TResultsStore::FailWrite() {
  Fail("cannot be written", db_.lastError().databaseText());
  return false;
}

void TResultsStore::FailQuery(const std::string& what, const QSqlQuery& query) {
  // A server refuses an answer itself for its data (class 22) or a rule it breaks (class 23):
  // sending it again gets nowhere, while later answers may well go.
  const QString state = query.lastError().nativeErrorCode();
  // A statement the store stopped for running too long says so, not only "interrupted".
  if (timer_.Expired())
    Fail("took longer than " + std::to_string(TSqliteTimer::kSeconds) +
             " seconds to read and was stopped; it may not be a results file of Tarvolin",
         query.lastError().databaseText());
  else
    Fail(what, query.lastError().databaseText());
  if (location_.server && (state.startsWith("22") || state.startsWith("23")))
    failure_ = TFailure::AnswerRefused;
  // SQLite's like of it: a text too big (SQLITE_TOOBIG), a rule of the table (CONSTRAINT), a
  // value of the wrong kind (MISMATCH).
  const int sqliteCode = state.toInt() & 0xff;
  if (!location_.server) sqliteCode_ = sqliteCode;
  if (!location_.server && !timer_.Expired() && sqliteCode >= 18 && sqliteCode <= 20)
    failure_ = TFailure::AnswerRefused;
}

std::string TResultsStore::NotKeptMessage() const {
  return "Your answers are not being kept: " + errorInSentence_ + ". The quiz goes on.";
}

bool TResultsStore::Exec(QSqlQuery& query) {
  if (query.exec()) return true;
  FailQuery("cannot be written", query);
  return false;
}

bool TResultsStore::Exec(const QString& statement) {
  QSqlQuery query(db_);
  if (query.exec(statement)) return true;
  FailQuery("cannot be written", query);
  return false;
}

bool TResultsStore::OpenConnection(const TResultsLocation& location, bool readOnly) {
  Close();
  location_ = location;
  const char* driver = location.server ? "QPSQL" : "QSQLITE";
  if (!QSqlDatabase::isDriverAvailable(driver)) {
    Fail("cannot be opened",
         QStringLiteral("the %1 driver of Qt SQL is not installed").arg(driver));
    return false;
  }
  if (location.server) {
    // One attempt exactly as the address says first: when it fails, its own answer tells why,
    // and no second connection is made to find out.
    const TServerAttempt attempt = TryServer(location, kConnectSeconds);
    if (attempt.problem != TServerProblem::None) {
      FailSaying(ServerProblemText(attempt.problem, location),
                 ServerProblemText(attempt.problem, location, {}, false),
                 QStringOf(attempt.details));
      const bool busy = attempt.problem == TServerProblem::TooManyConnections ||
                        attempt.problem == TServerProblem::Starting;
      failure_ = IsPasswordProblem(attempt.problem) ? TFailure::PasswordRefused
                 : busy                             ? TFailure::Busy
                                                    : TFailure::TryLater;
      return false;
    }
  }
  connection_.Add(driver);
  if (location.server) {
    db_.setHostName(QStringOf(location.host));
    if (location.port > 0) db_.setPort(location.port);
    db_.setUserName(QStringOf(location.user));
    db_.setPassword(QStringOf(location.password));
    db_.setDatabaseName(QStringOf(location.database));
    // Only our schema is looked in, and nothing waits long: past these the answer waits on
    // this computer and is sent later.
    db_.setConnectOptions(QStringOf(location.ConnectOptions(
        "-c search_path=tarvolin -c statement_timeout=5000 -c lock_timeout=3000"
        " -c idle_in_transaction_session_timeout=30000",
        kConnectSeconds)));
  } else {
    // A results file on disk is opened by OpenFile; here only a store in memory.
    db_.setDatabaseName(QStringOf(location.file));
  }
  if (!db_.open()) {
    const QString detail = db_.lastError().databaseText();
    if (location.server) {
      FailSaying("The class server at " + location.HostAndPort() + " could not be reached",
                 "the class server at " + location.HostAndPort() + " could not be reached", detail);
      // It took a connection a moment ago: a place taken meanwhile, to be tried again soon.
      failure_ = TFailure::Busy;
    } else
      Fail("cannot be opened", detail);
    Close();
    return false;
  }
  if (!location.server) timer_.Attach(db_);
  open_ = true;
  readOnly_ = readOnly;
  return true;
}

bool TResultsStore::OpenFileConnection(const QString& name, const QString& options, bool readOnly) {
  open_ = false;
  connection_.Add("QSQLITE");
  db_.setDatabaseName(name);
  db_.setConnectOptions(options + ";QSQLITE_OPEN_URI");
  if (!db_.open()) {
    Fail("cannot be opened", db_.lastError().databaseText());
    sqliteCode_ = db_.lastError().nativeErrorCode().toInt() & 0xff;
    Close();
    return false;
  }
  timer_.Attach(db_);
  open_ = true;
  readOnly_ = readOnly;
  return true;
}

bool TResultsStore::MakeFile(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0 || errno != ENOENT) return true;
  // Made whole under a name of its own, then named: ten students opening a new lab file at once
  // all find its tables and its journal mode there, and none sees it half made.
  std::string temp, why;
  if (!PrepareResultsFile(path, temp, why)) {
    Fail("cannot be written", QString::fromStdString(why));
    return false;
  }
  bool made = OpenFileConnection(SqliteUri(temp), "QSQLITE_BUSY_TIMEOUT=20000", false);
  if (made) {
    UseLocalJournal(db_, temp);
    made = Exec(QStringLiteral("PRAGMA user_version = %1")
                    .arg(QRandomGenerator::global()->bounded(1, 0x7fffffff))) &&
           CreateSchema();
  }
  Close();
  if (!made) {
    for (const char* beside : {"", "-wal", "-shm", "-journal"}) unlink((temp + beside).c_str());
    return false;
  }
  if (PublishResultsFile(temp, path, why)) return true;
  Fail("cannot be written", QString::fromStdString(why));
  return false;
}

bool TResultsStore::OpenFile(const TResultsLocation& location, bool readOnly) {
  Close();
  location_ = location;
  if (!QSqlDatabase::isDriverAvailable("QSQLITE")) {
    Fail("cannot be opened", "the QSQLITE driver of Qt SQL is not installed");
    return false;
  }
  const std::string& path = location.file;
  if (const std::string why = NotARegularFile(path); !why.empty()) {
    Fail("cannot be opened", QString::fromStdString(why));
    return false;
  }
  if (!readOnly && !MakeFile(path)) return false;
  const QString uri = SqliteUri(path);
  // First the file alone, as it lies: nothing beside it is read, locked or written, so that a
  // file that is not ours, and a -wal beside it that is not its own, are left as they are.
  // Read so, the file may be changed under the reader by another writer's checkpoint; a read
  // that failed while the file changed is read again.
  const auto stamp = [&path] {
    struct stat file {
    }, log{};
    stat(path.c_str(), &file);
    stat((path + "-wal").c_str(), &log);
    return std::tuple(file.st_size, file.st_mtim.tv_sec, file.st_mtim.tv_nsec, log.st_size,
                      log.st_mtim.tv_sec, log.st_mtim.tv_nsec);
  };
  for (int attempt = 0;; ++attempt) {
    const auto before = stamp();
    sqliteCode_ = 0;
    if (OpenFileConnection(uri + "?immutable=1", "QSQLITE_OPEN_READONLY", true)) {
      timer_.Arm();
      if (ReadFileSchema(true)) break;
    }
    // A torn read looks like a damaged file (SQLITE_CORRUPT) and passes; a damaged one stays.
    const bool torn = sqliteCode_ == 11 || stamp() != before;
    Close();
    if (attempt >= 50 || !torn) return false;
    QThread::msleep(20);
  }
  const TBesideFiles beside = CheckBesideFiles(db_, path);
  if (!beside.walBelongs) {
    Fail("cannot be opened: " + beside.why, {});
    Close();
    return false;
  }
  // SQLite cannot share a write-ahead file without making files beside it: in a folder it may
  // not write to, the file is read as it lies.
  const bool asItLies = beside.writeAhead && !IsFolderWritable(path);
  if (asItLies && !readOnly) SetNotice(" cannot be written (its folder is read-only)");
  // Then with its log, still only reading: a newer version's file is never opened for writing.
  if (!asItLies && (!OpenFileConnection(uri + "?mode=ro",
                                        "QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000", true) ||
                    !ReadFileSchema(true))) {
    Close();
    return false;
  }
  if (schemaVersion_ > kSchemaVersion) {
    SetNotice(" was written by a newer version of Tarvolin; it is shown as it is and not changed");
    return true;
  }
  if (readOnly || asItLies) {
    if (schemaVersion_ != 0) return true;
    Fail("holds no Tarvolin results", {});
    Close();
    return false;
  }
  // Ours and of this version: only now for writing, and its journal mode set after that.
  if (!OpenFileConnection(uri, "QSQLITE_BUSY_TIMEOUT=20000", false) || !ReadFileSchema(true)) {
    Close();
    return false;
  }
  // An earlier version's file is brought up to this one, once it is opened to be written.
  if (schemaVersion_ < kSchemaVersion && !Upgrade()) {
    Close();
    return false;
  }
  UseLocalJournal(db_, path);
  // A file made by an earlier version gets the identity a -wal of its own is known by.
  QSqlQuery identity(db_);
  if (identity.exec("PRAGMA user_version") && identity.next() && identity.value(0).toInt() == 0)
    identity.exec(QStringLiteral("PRAGMA user_version = %1")
                      .arg(QRandomGenerator::global()->bounded(1, 0x7fffffff)));
  return true;
}

bool TResultsStore::Open(const TResultsLocation& location, TMode mode) {
  error_.clear();
  failure_ = TFailure::None;
  details_.clear();
  notice_.clear();
  const bool readOnly = mode == TMode::ReadOnly;
  if (!location.server && location.file != ":memory:") return OpenFile(location, readOnly);
  if (!OpenConnection(location, readOnly)) return false;
  timer_.Arm();
  if (!ReadOrCreateSchema(!readOnly)) {
    Close();
    return false;
  }
  if (schemaVersion_ > kSchemaVersion) {
    SetNotice(" was written by a newer version of Tarvolin; it is shown as it is and not changed");
    readOnly_ = true;
  }
  return true;
}

bool TResultsStore::OpenInMemory() {
  error_.clear();
  details_.clear();
  notice_.clear();
  if (!OpenConnection(TResultsLocation::File(":memory:"), false)) return false;
  inMemory_ = true;
  return CreateSchema();
}

void TResultsStore::UseAsScratch() {
  QSqlQuery query(db_);
  query.exec("PRAGMA journal_mode=OFF");
  query.exec("PRAGMA synchronous=OFF");
}

bool TResultsStore::TakeVersion(const QString& text) {
  // A whole number from 1 up, as this program writes it; "2.0", "v2", "-1" or a number that
  // does not fit are not a version of ours.
  static const QRegularExpression whole(QStringLiteral("^[1-9][0-9]{0,8}$"));
  if (!whole.match(text).hasMatch()) {
    Fail("is not a results file of Tarvolin (its version \"" + text.left(20).toStdString() +
             "\" is not one this program wrote); it is left as it is",
         {});
    return false;
  }
  schemaVersion_ = text.toInt();
  return true;
}

bool TResultsStore::ReadOrCreateSchema(bool mayCreate) {
  return location_.server ? ReadServerSchema() : ReadFileSchema(mayCreate);
}

bool TResultsStore::ReadServerSchema() {
  // The catalog says whether our schema is there; no error text is read for it.
  QSqlQuery query(db_);
  if (!query.exec("SELECT to_regclass('tarvolin.tarvolin_meta') IS NOT NULL, session_user") ||
      !query.next()) {
    FailQuery("cannot be read", query);
    return false;
  }
  login_ = S(query.value(1));
  if (!query.value(0).toBool()) {
    Fail("is not set up for Tarvolin yet; the teacher runs \"tarvolin-class setup\" on it first",
         {});
    return false;
  }
  QSqlQuery version(db_);
  if (!version.exec("SELECT value FROM tarvolin.tarvolin_meta WHERE name = 'schema_version'")) {
    FailQuery("cannot be read", version);
    return false;
  }
  if (!TakeVersion(version.next() ? version.value(0).toString() : QString())) return false;
  QSqlQuery rights(db_);
  if (!rights.exec("SELECT has_table_privilege('tarvolin.answers', 'DELETE')") || !rights.next()) {
    FailQuery("cannot be read", rights);
    return false;
  }
  seesEveryone_ = rights.value(0).toBool();
  return true;
}

bool TResultsStore::ReadFileSchema(bool mayCreate) {
  // Every thing in the file must be one of ours: a table, or an index SQLite or we made. A
  // view or trigger under our names could make any read run forever or write elsewhere.
  QSqlQuery objects(db_);
  objects.setForwardOnly(true);
  if (!objects.exec("SELECT type, name, tbl_name FROM sqlite_master")) {
    FailQuery("cannot be opened", objects);
    return false;
  }
  int count = 0;
  bool foreign = false;
  bool hasMeta = false;
  while (objects.next()) {
    ++count;
    const QString type = objects.value(0).toString();
    const std::string name = S(objects.value(1));
    const std::string table = S(objects.value(2));
    if (type == "table" && name == "tarvolin_meta") hasMeta = true;
    const bool ourTable = type == "table" && IsOurTable(name);
    const bool ourIndex = type == "index" && IsOurTable(table);
    if (!ourTable && !ourIndex) foreign = true;
  }
  if (count == 0) {
    if (!mayCreate) {
      Fail("holds no Tarvolin results", {});
      return false;
    }
    // Read only for now: it is set up once opened for writing.
    schemaVersion_ = 0;
    return readOnly_ || CreateSchema();
  }
  if (foreign || !hasMeta) {
    Fail(
        "is not a results file of Tarvolin (it holds tables of another kind); it is left as it "
        "is",
        {});
    return false;
  }
  QSqlQuery version(db_);
  if (!version.exec("SELECT value FROM tarvolin_meta WHERE name = 'schema_version'")) {
    FailQuery("cannot be opened", version);
    return false;
  }
  return TakeVersion(version.next() ? version.value(0).toString() : QString());
}

bool TResultsStore::CreateSchema() {
  TSqlTransaction transaction(db_);
  if (!transaction.Begun()) return FailWrite();
  if (!Exec(
          QStringOf("CREATE TABLE IF NOT EXISTS answers (" + AnswerColumnDefinitions(false) + ")")))
    return false;
  for (const char* statement : kSchema)
    if (!Exec(statement)) return false;
  QSqlQuery version(db_);
  version.prepare(
      "INSERT INTO tarvolin_meta (name, value) VALUES ('schema_version', ?)"
      " ON CONFLICT (name) DO NOTHING");
  version.addBindValue(QString::number(kSchemaVersion));
  if (!Exec(version)) return false;
  if (!transaction.Commit()) return FailWrite();
  schemaVersion_ = kSchemaVersion;
  return true;
}

const std::vector<TSchemaStep>& TResultsStore::SchemaSteps() {
  // Each version's changes to a file and to a class server, after the version before it.
  // Version 2: each answer names the assignment it was given for, and whether it was practice;
  // the assignments themselves, with the reactions each carries. A server's statements also
  // make a new class whole (tarvolin-class setup runs them there too), so each holds for a
  // class made by this version.
  static const std::vector<TSchemaStep> steps = {
      {2,
       {"ALTER TABLE answers ADD COLUMN assignment_id TEXT NOT NULL DEFAULT ''",
        "ALTER TABLE answers ADD COLUMN practice INTEGER NOT NULL DEFAULT 0", kAssignmentsTable,
        kAssignmentReactionsTable, kAnswersByAssignment, kAssignmentFirstsTable,
        kAssignmentSummaryTable},
       {"ALTER TABLE tarvolin.answers ADD COLUMN IF NOT EXISTS assignment_id TEXT NOT NULL"
        " DEFAULT ''",
        "ALTER TABLE tarvolin.answers ADD COLUMN IF NOT EXISTS practice INTEGER NOT NULL"
        " DEFAULT 0",
        // Only a teacher's login writes them (the class's rights); who assigned it is the
        // login the server knows.
        "CREATE TABLE IF NOT EXISTS tarvolin.assignments (id TEXT PRIMARY KEY,"
        " title TEXT NOT NULL, due TEXT NOT NULL, assigned_at TEXT NOT NULL,"
        " teacher TEXT NOT NULL DEFAULT session_user, shuffled INTEGER NOT NULL,"
        " withdrawn INTEGER NOT NULL, practice_count INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS tarvolin.assignment_reactions (assignment_id TEXT NOT NULL"
        " REFERENCES tarvolin.assignments ON DELETE CASCADE, place INTEGER NOT NULL,"
        " question TEXT NOT NULL, type INTEGER NOT NULL, record BYTEA NOT NULL,"
        " PRIMARY KEY (assignment_id, place))",
        "CREATE INDEX IF NOT EXISTS answers_by_assignment ON tarvolin.answers (assignment_id,"
        " login)"}},
  };
  return steps;
}

bool TResultsStore::Upgrade() {
  TSqlTransaction transaction(db_);
  if (!transaction.Begun()) return FailWrite();
  for (const TSchemaStep& step : SchemaSteps()) {
    if (step.version <= schemaVersion_) continue;
    for (const char* statement : step.file)
      if (!Exec(statement)) return false;
  }
  QSqlQuery version(db_);
  version.prepare("UPDATE tarvolin_meta SET value = ? WHERE name = 'schema_version'");
  version.addBindValue(QString::number(kSchemaVersion));
  if (!Exec(version) || !transaction.Commit()) return error_.empty() ? FailWrite() : false;
  schemaVersion_ = kSchemaVersion;
  return true;
}

bool TResultsStore::Record(const TAnswerRecord& record, std::string& why) {
  error_.clear();
  failure_ = TFailure::None;
  details_.clear();
  const bool wasOpen = open_;
  if (TryRecord(record)) return true;
  // A connection the server dropped while idle, or a file busy past its wait: opened afresh
  // and tried once more at once, so that the answer is not reported lost for it.
  if (wasOpen && !inMemory_ && !readOnly_) {
    Close();
    error_.clear();
    details_.clear();
    if (TryRecord(record)) return true;
  }
  why = NotKeptMessage();
  return false;
}

bool TResultsStore::TryRecord(const TAnswerRecord& record) {
  if (!open_ && !Open(location_)) return false;
  if (readOnly_) {
    if (notice_.empty())
      SetError(location_.DescribeAtStart() + " is open only for reading",
               location_.Describe() + " is open only for reading");
    else
      SetError(notice_, noticeInSentence_);
    return false;
  }
  timer_.Arm();
  {
    TSqlTransaction transaction(db_);
    bool added = false;
    if (transaction.Begun() && Write(record, added) && transaction.Commit()) return true;
    if (error_.empty()) FailWrite();
  }
  // A server that went away, or a file that was locked, is opened afresh next time.
  if (!inMemory_) Close();
  return false;
}

bool TResultsStore::PrepareInserts(QSqlQuery& answer, QSqlQuery& note) {
  answer = QSqlQuery(db_);
  note = QSqlQuery(db_);
  const bool ok =
      answer.prepare(QStringOf("INSERT INTO answers (" + AnswerColumnNames({}, schemaVersion_) +
                               ") VALUES (" + AnswerPlaceholders(schemaVersion_) +
                               ") ON CONFLICT (answer_id) DO NOTHING")) &&
      note.prepare("INSERT INTO coaching (answer_id, seq, step, substance) VALUES (?, ?, ?, ?)");
  if (!ok) FailQuery("cannot be written", answer.lastError().isValid() ? answer : note);
  return ok;
}

bool TResultsStore::InsertAnswer(const TAnswerRecord& r, QSqlQuery& answer, QSqlQuery& note,
                                 bool& added) {
  added = false;
  // Each answer written is progress: only a statement that does nothing for long is stopped.
  timer_.Arm();
  // On a class server who answered is the login the server knows, whatever the record says.
  TAnswerRecord kept = r;
  if (location_.server && !login_.empty()) kept.login = login_;
  int bound = 0;
  for (const TAnswerColumn& column : kAnswerColumns)
    if (HeldIn(column, schemaVersion_)) answer.bindValue(bound++, column.Value(kept));
  if (!Exec(answer)) return false;
  // The same answer from a second file, or a file opened twice, counts once.
  if (answer.numRowsAffected() != 1) return true;
  added = true;
  for (std::size_t n = 0; n < r.coaching.size(); ++n) {
    note.bindValue(0, QStringOf(r.answerId));
    note.bindValue(1, static_cast<int>(n));
    note.bindValue(2, QStringOf(std::string(CoachingStepName(r.coaching[n].step))));
    note.bindValue(3, QStringOf(r.coaching[n].substance));
    if (!Exec(note)) return false;
  }
  return true;
}

bool TResultsStore::Write(const TAnswerRecord& r, bool& added) {
  added = false;
  QSqlQuery answer, note;
  if (!PrepareInserts(answer, note) || !InsertAnswer(r, answer, note, added)) return false;
  if (!added) return true;
  // A server works its summaries out from the answers itself.
  if (location_.server) return true;

  const bool answered = r.ending != TEnding::Quit;
  QSqlQuery run(db_);
  run.prepare(
      "INSERT INTO run_summary (run_id, started, student, types, earned, possible, answers)"
      " VALUES (?, ?, ?, ?, ?, ?, 1) ON CONFLICT (run_id) DO UPDATE SET"
      " earned = run_summary.earned + excluded.earned,"
      " possible = run_summary.possible + excluded.possible,"
      " answers = run_summary.answers + 1");
  run.addBindValue(QStringOf(r.runId));
  run.addBindValue(QStringOf(r.runStarted));
  run.addBindValue(QStringOf(r.student));
  run.addBindValue(QStringOf(r.types));
  run.addBindValue(answered ? r.finalScore : 0);
  run.addBindValue(answered ? kFullScore : 0);
  if (!Exec(run)) return false;
  // A Quit earns nothing and counts in no summary, as in the quiz's own score.
  if (!answered) return true;

  if (!r.assignmentId.empty()) {
    // Her first answer to the question counts; one that comes later, from an outbox or a file
    // merged, but was given earlier takes its place.
    QSqlQuery first(db_);
    first.prepare(
        "INSERT INTO assignment_firsts (assignment_id, student, question_key, first_score,"
        " answered_at, answer_id) VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (assignment_id, student,"
        " question_key) DO UPDATE SET first_score = excluded.first_score,"
        " answered_at = excluded.answered_at, answer_id = excluded.answer_id"
        " WHERE excluded.answered_at < assignment_firsts.answered_at OR (excluded.answered_at ="
        " assignment_firsts.answered_at AND excluded.answer_id < assignment_firsts.answer_id)");
    for (const std::string& value : {r.assignmentId, r.student, QuestionKey(r)})
      first.addBindValue(QStringOf(value));
    first.addBindValue(r.firstScore);
    first.addBindValue(QStringOf(r.answeredAt));
    first.addBindValue(QStringOf(r.answerId));
    QSqlQuery tally(db_);
    tally.prepare(QString(kTallyOfFirsts).arg(" WHERE assignment_id = ? AND student = ?"));
    tally.addBindValue(QStringOf(r.assignmentId));
    tally.addBindValue(QStringOf(r.student));
    if (!Exec(first) || !Exec(tally)) return false;
  }

  QSqlQuery type(db_);
  type.prepare(
      "INSERT INTO type_summary (student, question_type, answered, first_points, final_points,"
      " possible) VALUES (?, ?, 1, ?, ?, ?) ON CONFLICT (student, question_type) DO UPDATE SET"
      " answered = type_summary.answered + 1,"
      " first_points = type_summary.first_points + excluded.first_points,"
      " final_points = type_summary.final_points + excluded.final_points,"
      " possible = type_summary.possible + excluded.possible");
  type.addBindValue(QStringOf(r.student));
  type.addBindValue(r.questionType);
  type.addBindValue(r.firstScore);
  type.addBindValue(r.finalScore);
  type.addBindValue(kFullScore);
  if (!Exec(type)) return false;

  // In a fixed order, so that writers sharing rows always take their locks alike.
  std::map<int, int> steps;
  for (const TCoachingNote& note : r.coaching) ++steps[static_cast<int>(note.step)];
  for (const auto& [step, times] : steps) {
    QSqlQuery count(db_);
    count.prepare(
        "INSERT INTO step_summary (student, question_type, step, times) VALUES (?, ?, ?, ?)"
        " ON CONFLICT (student, question_type, step) DO UPDATE SET"
        " times = step_summary.times + excluded.times");
    count.addBindValue(QStringOf(r.student));
    count.addBindValue(r.questionType);
    count.addBindValue(QStringOf(std::string(CoachingStepName(static_cast<TCoachingStep>(step)))));
    count.addBindValue(times);
    if (!Exec(count)) return false;
  }

  const bool missed = r.firstScore < kFullScore;
  QSqlQuery question(db_);
  question.prepare(
      "INSERT INTO question_summary (question_key, question, question_type, asked, missed)"
      " VALUES (?, ?, ?, 1, ?) ON CONFLICT (question_key) DO UPDATE SET"
      " asked = question_summary.asked + 1, missed = question_summary.missed + excluded.missed");
  question.addBindValue(QStringOf(QuestionKey(r)));
  question.addBindValue(QStringOf(r.question));
  question.addBindValue(r.questionType);
  question.addBindValue(missed ? 1 : 0);
  if (!Exec(question)) return false;
  if (!missed) return true;

  QSqlQuery first(db_);
  first.prepare(
      "INSERT INTO first_answer_summary (question_key, first_answer, times) VALUES (?, ?, 1)"
      " ON CONFLICT (question_key, first_answer) DO UPDATE SET"
      " times = first_answer_summary.times + 1");
  first.addBindValue(QStringOf(QuestionKey(r)));
  first.addBindValue(QStringOf(r.firstAnswer));
  return Exec(first);
}

int TResultsStore::Merge(TResultsStore& other, const std::function<bool(int64_t)>& progress) {
  error_.clear();
  details_.clear();
  if (!open_ || readOnly_ || location_.server) {
    SetError(location_.DescribeAtStart() + " cannot be written",
             location_.Describe() + " cannot be written");
    return -1;
  }
  TSqlTransaction transaction(db_);
  if (!transaction.Begun()) return FailWrite(), -1;
  // The answers in bulk with statements prepared once, then the summaries worked out afresh:
  // a file of half a million answers merges in seconds, not minutes.
  int added = 0;
  int64_t read = 0;
  bool ok = true;
  bool stopped = false;
  QSqlQuery answer, note;
  const int bulk = other.IsOpen() && !other.location_.server && !other.inMemory_
                       ? CopyAnswersOf(other.location_.file, other.schemaVersion_, progress)
                       : -1;
  if (bulk >= 0) added = bulk;
  ok = bulk >= 0 || PrepareInserts(answer, note);
  if (bulk < 0 && progress && !progress(0)) stopped = true;
  const bool complete =
      bulk >= 0 || (ok && !stopped && other.ReadAnswers([&](const TAnswerRecord& record) {
        bool isNew = false;
        ok = InsertAnswer(record, answer, note, isNew);
        if (isNew) ++added;
        if (ok && progress && ++read % 1000 == 0 && !progress(read)) stopped = true;
        return ok && !stopped;
      }));
  if (!complete && ok && !stopped) SetError(other.Error(), other.ErrorInSentence());
  if (stopped) SetError("Stopped before the end", "stopped before the end");
  // Our own queries over every answer merged: a large file may take them a while.
  for (const TSummaryQuery& summary : kSummaryQueries) {
    if (!complete) break;
    timer_.Arm(600);
    ok = ok && Exec(QStringLiteral("DELETE FROM %1").arg(summary.table)) &&
         Exec(QStringLiteral("INSERT INTO %1 %2")
                  .arg(summary.table, QStringOf(SummarySelect(summary, false))));
  }
  if (complete && ok)
    ok = Exec("DELETE FROM assignment_firsts") &&
         Exec("INSERT INTO assignment_firsts " + FirstAnswers(false)) &&
         Exec("DELETE FROM assignment_summary") && Exec(QString(kTallyOfFirsts).arg(""));
  if (!complete || !ok) {
    if (error_.empty()) FailWrite();
    return -1;
  }
  if (!transaction.Commit()) return FailWrite(), -1;
  // The assignments those answers were given for come with them, for the grid of files shown
  // together.
  for (const TAssignment& assignment : other.Assignments())
    if (!WriteAssignment(assignment)) return -1;
  return added;
}

bool TResultsStore::ReadAnswers(const std::function<bool(const TAnswerRecord&)>& each) {
  return ReadAnswersWhere({}, {}, each);
}

bool TResultsStore::ReadAnswersWhere(const QString& where, const std::vector<std::string>& values,
                                     const std::function<bool(const TAnswerRecord&)>& each) {
  error_.clear();
  if (!open_) {
    SetError(location_.DescribeAtStart() + " is not open", location_.Describe() + " is not open");
    return false;
  }
  timer_.Arm();
  std::unordered_map<std::string, std::vector<TCoachingNote>> coaching;
  QSqlQuery notes(db_);
  notes.setForwardOnly(true);
  notes.prepare(where.isEmpty()
                    ? QStringLiteral("SELECT answer_id, step, substance FROM coaching"
                                     " ORDER BY answer_id, seq")
                    : "SELECT c.answer_id, c.step, c.substance FROM coaching c JOIN answers a"
                      " ON a.answer_id = c.answer_id WHERE " +
                          where + " ORDER BY c.answer_id, c.seq");
  for (const std::string& value : values) notes.addBindValue(QStringOf(value));
  if (!notes.exec()) {
    FailQuery("cannot be read", notes);
    return false;
  }
  while (notes.next()) {
    timer_.Arm();
    TCoachingNote note;
    if (!CoachingStepFromName(S(notes.value(1)), note.step)) continue;
    note.substance = S(notes.value(2));
    coaching[S(notes.value(0))].push_back(std::move(note));
  }
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  query.prepare(QStringOf("SELECT " + AnswerColumnNames("a.", schemaVersion_) + " FROM answers a") +
                (where.isEmpty() ? QString() : " WHERE " + where) +
                " ORDER BY a.answered_at, a.answer_id");
  for (const std::string& value : values) query.addBindValue(QStringOf(value));
  if (!query.exec()) {
    FailQuery("cannot be read", query);
    return false;
  }
  while (query.next()) {
    TAnswerRecord r;
    // An ending no version writes is read as "answer shown", the one that claims the least.
    int read = 0;
    for (const TAnswerColumn& column : kAnswerColumns)
      if (HeldIn(column, schemaVersion_)) column.Take(r, query.value(read++));
    if (auto found = coaching.find(r.answerId); found != coaching.end())
      r.coaching = std::move(found->second);
    if (!each(r)) return false;
    // Each row read is progress: only a statement that yields nothing for long is stopped.
    timer_.Arm();
  }
  return true;
}

int64_t TResultsStore::AnswerCount() {
  timer_.Arm();
  QSqlQuery query(db_);
  if (!open_ || !query.exec("SELECT COUNT(*) FROM answers") || !query.next()) return -1;
  return query.value(0).toLongLong();
}

bool TResultsStore::FailUnchangeable() {
  // A newer version's store says why in its notice.
  if (notice_.empty())
    SetError(location_.DescribeAtStart() + " cannot be changed",
             location_.Describe() + " cannot be changed");
  else
    SetError(notice_, noticeInSentence_);
  return false;
}

bool TResultsStore::Clear() {
  error_.clear();
  details_.clear();
  if (!open_ || readOnly_) return FailUnchangeable();
  if (!seesEveryone_) {
    SetError("Only a teacher's login may clear " + location_.Describe(),
             "only a teacher's login may clear " + location_.Describe());
    return false;
  }
  timer_.Arm();
  TSqlTransaction transaction(db_);
  if (!transaction.Begun()) return FailWrite();
  // On a server the summaries are views, and coaching notes go with their answers.
  static const char* const kServerTables[] = {"coaching", "answers"};
  const bool server = location_.server;
  const auto tables =
      server ? std::vector<const char*>(std::begin(kServerTables), std::end(kServerTables))
             : std::vector<const char*>(std::begin(kTables), std::end(kTables));
  for (const char* table : tables)
    if (!Exec(QStringLiteral("DELETE FROM %1").arg(table))) return false;
  return transaction.Commit() || FailWrite();
}

int TResultsStore::CopyAnswersOf(const std::string& file, int version,
                                 const std::function<bool(int64_t)>& progress) {
  // Straight from file to file: the source, already found to be ours, is attached beside
  // this store and its new answers copied in three statements, not one answer at a time.
  QSqlQuery attach(db_);
  // Only read: a URI with mode=ro, which the connection takes (it is opened with URIs on).
  attach.prepare("ATTACH DATABASE ? AS merged_source");
  attach.addBindValue(SqliteUri(file) + "?mode=ro");
  timer_.Arm(600);
  if (!attach.exec()) return -1;
  int added = -1;
  QSqlQuery query(db_);
  const bool ok =
      query.exec(
          "CREATE TEMP TABLE merged_fresh AS SELECT answer_id FROM merged_source.answers"
          " WHERE answer_id NOT IN (SELECT answer_id FROM main.answers)") &&
      (!progress || progress(0)) &&
      query.exec(QStringOf("INSERT INTO main.answers (" + AnswerColumnNames({}, version) +
                           ") SELECT " + AnswerColumnNames({}, version) +
                           " FROM merged_source.answers" +
                           " WHERE answer_id IN (SELECT answer_id FROM temp.merged_fresh)")) &&
      query.exec(
          "INSERT INTO main.coaching SELECT answer_id, seq, step, substance"
          " FROM merged_source.coaching"
          " WHERE answer_id IN (SELECT answer_id FROM temp.merged_fresh)") &&
      query.exec("SELECT COUNT(*) FROM temp.merged_fresh") && query.next();
  if (ok) added = query.value(0).toInt();
  query.finish();
  QSqlQuery cleanup(db_);
  cleanup.exec("DROP TABLE IF EXISTS temp.merged_fresh");
  cleanup.exec("DETACH DATABASE merged_source");
  if (ok && progress) progress(added);
  return added;
}

std::vector<TRunRow> TResultsStore::Runs(const std::string& student, int limit) {
  std::vector<TRunRow> rows;
  if (!open_) return rows;
  timer_.Arm();
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT started, student, types, earned, possible FROM run_summary"
                               "%1 ORDER BY started DESC LIMIT %2")
                    .arg(student.empty() ? "" : " WHERE student = ?")
                    .arg(limit));
  if (!student.empty()) query.addBindValue(QStringOf(student));
  if (!query.exec()) return rows;
  while (query.next())
    rows.push_back({S(query.value(0)), S(query.value(1)), S(query.value(2)), query.value(3).toInt(),
                    query.value(4).toInt()});
  return rows;
}

std::vector<TTypeRow> TResultsStore::Types(const std::string& student) {
  std::vector<TTypeRow> rows;
  if (!open_) return rows;
  timer_.Arm();
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT question_type, SUM(answered), SUM(first_points),"
                               " SUM(final_points), SUM(possible) FROM type_summary%1"
                               " GROUP BY question_type ORDER BY question_type")
                    .arg(student.empty() ? "" : " WHERE student = ?"));
  if (!student.empty()) query.addBindValue(QStringOf(student));
  if (!query.exec()) return rows;
  while (query.next())
    rows.push_back({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt(),
                    query.value(3).toInt(), query.value(4).toInt()});
  return rows;
}

std::vector<TMistakeRow> TResultsStore::Mistakes(const std::string& student) {
  std::vector<TMistakeRow> rows;
  if (!open_) return rows;
  timer_.Arm();
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT question_type, step, SUM(times) FROM step_summary%1"
                               " GROUP BY question_type, step ORDER BY question_type")
                    .arg(student.empty() ? "" : " WHERE student = ?"));
  if (!student.empty()) query.addBindValue(QStringOf(student));
  if (!query.exec()) return rows;
  while (query.next()) {
    TCoachingStep step;
    if (!CoachingStepFromName(S(query.value(1)), step)) continue;
    const int type = query.value(0).toInt();
    if (rows.empty() || rows.back().type != type) rows.push_back({type, {}});
    rows.back().times[static_cast<int>(step)] += query.value(2).toInt();
  }
  return rows;
}

TMistakeTrend TResultsStore::Trend(const std::string& student, const std::string& now) {
  TMistakeTrend trend;
  const QDateTime end = QDateTime::fromString(QStringOf(now), Qt::ISODate);
  if (!open_ || !end.isValid()) return trend;
  const auto dayOf = [&](int fortnights) {
    return end.addDays(-TMistakeTrend::kDays * fortnights).toString(Qt::ISODate);
  };
  for (const TSummaryQuery& counted : kTrendQueries) {
    timer_.Arm();
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    query.prepare(QStringOf(SummarySelect(counted, location_.server, student)));
    query.addBindValue(dayOf(1));
    query.addBindValue(dayOf(2));
    query.addBindValue(dayOf(0));
    if (!student.empty()) query.addBindValue(QStringOf(student));
    if (!query.exec()) return {};
    const bool tries = &counted == &kTrendQueries[0];
    while (query.next()) {
      const int period = query.value(0).toInt();
      TCoachingStep step;
      if (tries)
        trend.tries[period] = query.value(1).toInt();
      else if (CoachingStepFromName(S(query.value(1)), step))
        trend.needed[period][static_cast<int>(step)] = query.value(2).toInt();
    }
  }
  return trend;
}

std::vector<TMissedRow> TResultsStore::MostMissed(int count) {
  std::vector<TMissedRow> rows;
  if (!open_) return rows;
  timer_.Arm();
  std::vector<std::string> keys;
  {
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT question_key, question, question_type, asked, missed"
                                 " FROM question_summary WHERE missed > 0"
                                 " ORDER BY missed DESC, question_key DESC LIMIT %1")
                      .arg(count));
    if (!query.exec()) return rows;
    while (query.next()) {
      keys.push_back(S(query.value(0)));
      rows.push_back({S(query.value(1)),
                      query.value(2).toInt(),
                      query.value(3).toInt(),
                      query.value(4).toInt(),
                      {}});
    }
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QSqlQuery query(db_);
    query.prepare(
        "SELECT first_answer FROM first_answer_summary WHERE question_key = ?"
        " ORDER BY times DESC, first_answer LIMIT 1");
    query.addBindValue(QStringOf(keys[i]));
    if (query.exec() && query.next()) rows[i].commonWrongAnswer = S(query.value(0));
  }
  return rows;
}

std::vector<std::string> TResultsStore::Students() {
  std::vector<std::string> students;
  if (!open_) return students;
  timer_.Arm();
  QSqlQuery query(db_);
  if (!query.exec("SELECT DISTINCT student FROM type_summary ORDER BY student")) return students;
  while (query.next()) students.push_back(S(query.value(0)));
  return students;
}

TLeftOut TResultsStore::RegradeNewAnswers() {
  if (!open_ || !location_.server || !seesEveryone_) return {};
  std::vector<std::pair<QString, bool>> verdicts;
  {
    QSqlQuery fresh(db_);
    fresh.setForwardOnly(true);
    if (!fresh.exec("SELECT a.answer_id, a.stored_answer, a.first_answer, a.final_answer,"
                    " a.first_score, a.final_score, a.ending FROM answers a WHERE NOT EXISTS"
                    " (SELECT 1 FROM regraded g WHERE g.answer_id = a.answer_id)")) {
      FailQuery("cannot be read", fresh);
      return {};
    }
    while (fresh.next()) {
      TEnding ending;
      const bool known = EndingFromName(S(fresh.value(6)), ending);
      verdicts.emplace_back(
          fresh.value(0).toString(),
          known && ScoresGivenByTarvolin(S(fresh.value(1)), S(fresh.value(2)), S(fresh.value(3)),
                                         ending, fresh.value(4).toInt(), fresh.value(5).toInt()));
    }
  }
  // Many verdicts a statement, so that a class's first reading is not one round trip an
  // answer. An answer cleared meanwhile is skipped; one another teacher graded keeps hers.
  constexpr std::size_t kChunk = 500;
  for (std::size_t from = 0; from < verdicts.size(); from += kChunk) {
    const std::size_t to = std::min(verdicts.size(), from + kChunk);
    QStringList rows;
    for (std::size_t i = from; i < to; ++i)
      rows << QStringLiteral("(CAST(? AS TEXT), CAST(? AS BOOLEAN))");
    QSqlQuery insert(db_);
    insert.prepare(
        "INSERT INTO regraded (answer_id, scores_match) SELECT v.id, v.scores_match"
        " FROM (VALUES " +
        rows.join(", ") +
        ") AS v (id, scores_match) JOIN answers a ON a.answer_id = v.id"
        " ON CONFLICT (answer_id) DO NOTHING");
    for (std::size_t i = from; i < to; ++i) {
      insert.addBindValue(verdicts[i].first);
      insert.addBindValue(verdicts[i].second);
    }
    if (!Exec(insert)) return {};
  }
  return LeftOut();
}

TLeftOut TResultsStore::LeftOut() {
  TLeftOut left;
  if (!open_ || !location_.server || !seesEveryone_) return left;
  // Named as the server's figures name students: the login, with the name given beside it
  // when the two differ.
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  if (!query.exec("SELECT CASE WHEN a.student = a.login THEN a.login"
                  " ELSE a.student || ' (' || a.login || ')' END AS who, COUNT(*)"
                  " FROM answers a JOIN regraded g ON g.answer_id = a.answer_id"
                  " WHERE NOT g.scores_match GROUP BY who ORDER BY who")) {
    FailQuery("cannot be read", query);
    return left;
  }
  while (query.next()) {
    left.students.emplace_back(S(query.value(0)), query.value(1).toLongLong());
    left.count += left.students.back().second;
  }
  return left;
}

std::vector<TAssignment> TResultsStore::Assignments(bool withReactions) {
  std::vector<TAssignment> assignments;
  error_.clear();
  // An earlier version's store, read as it is, holds none.
  if (!open_ || schemaVersion_ < 2) return assignments;
  timer_.Arm();
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  if (!query.exec("SELECT id, title, due, assigned_at, teacher, shuffled, withdrawn,"
                  " practice_count FROM assignments ORDER BY assigned_at, title, id")) {
    FailQuery("cannot be read", query);
    return assignments;
  }
  std::unordered_map<std::string, std::size_t> place;
  while (query.next()) {
    TAssignment a;
    a.id = S(query.value(0));
    a.title = S(query.value(1));
    a.due = S(query.value(2));
    a.assignedAt = S(query.value(3));
    a.teacher = S(query.value(4));
    a.shuffled = query.value(5).toInt() != 0;
    a.withdrawn = query.value(6).toInt() != 0;
    a.practiceCount = query.value(7).toInt();
    place[a.id] = assignments.size();
    assignments.push_back(std::move(a));
  }
  QSqlQuery reactions(db_);
  reactions.setForwardOnly(true);
  if (!reactions.exec(withReactions ? "SELECT assignment_id, question, type, record FROM"
                                      " assignment_reactions ORDER BY assignment_id, place"
                                    : "SELECT assignment_id, COUNT(*) FROM assignment_reactions"
                                      " GROUP BY assignment_id")) {
    FailQuery("cannot be read", reactions);
    return {};
  }
  while (reactions.next()) {
    const auto found = place.find(S(reactions.value(0)));
    if (found == place.end()) continue;
    if (!withReactions) {
      assignments[found->second].reactions.resize(reactions.value(1).toInt());
      continue;
    }
    const QByteArray record = reactions.value(3).toByteArray();
    assignments[found->second].reactions.push_back(
        {S(reactions.value(1)), reactions.value(2).toInt(),
         std::vector<unsigned char>(record.begin(), record.end())});
  }
  return assignments;
}

bool TResultsStore::WriteAssignment(const TAssignment& assignment) {
  error_.clear();
  details_.clear();
  if (!open_ && !Open(location_)) return false;
  if (readOnly_ || schemaVersion_ < 2) return FailUnchangeable();
  // The server refuses it too; said here in the teacher's words first.
  if (!seesEveryone_) {
    SetError("Only a teacher's login may assign or change assignments in " + location_.Describe(),
             "only a teacher's login may assign or change assignments in " + location_.Describe());
    return false;
  }
  timer_.Arm();
  TSqlTransaction transaction(db_);
  if (!transaction.Begun()) return FailWrite();
  QSqlQuery row(db_);
  row.prepare(
      "INSERT INTO assignments (id, title, due, assigned_at, teacher, shuffled, withdrawn,"
      " practice_count) VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (id) DO UPDATE SET"
      " title = excluded.title, due = excluded.due, withdrawn = excluded.withdrawn");
  row.addBindValue(QStringOf(assignment.id));
  row.addBindValue(QStringOf(assignment.title));
  row.addBindValue(QStringOf(assignment.due));
  row.addBindValue(QStringOf(assignment.assignedAt));
  // On a class server who assigned it is the login the server knows.
  row.addBindValue(QStringOf(location_.server && !login_.empty() ? login_ : assignment.teacher));
  row.addBindValue(assignment.shuffled ? 1 : 0);
  row.addBindValue(assignment.withdrawn ? 1 : 0);
  row.addBindValue(assignment.practiceCount);
  if (!Exec(row)) return false;
  // Its reactions never change once given: the answers already kept were graded against them.
  for (std::size_t n = 0; n < assignment.reactions.size(); ++n) {
    const TAssignedReaction& reaction = assignment.reactions[n];
    QSqlQuery add(db_);
    add.prepare(
        "INSERT INTO assignment_reactions (assignment_id, place, question, type, record)"
        " VALUES (?, ?, ?, ?, ?) ON CONFLICT (assignment_id, place) DO NOTHING");
    add.addBindValue(QStringOf(assignment.id));
    add.addBindValue(static_cast<int>(n));
    add.addBindValue(QStringOf(reaction.question));
    add.addBindValue(reaction.type);
    // Never a null array, which would be bound as NULL: an empty record is an empty one.
    QByteArray record("");
    record.append(reinterpret_cast<const char*>(reaction.record.data()),
                  static_cast<qsizetype>(reaction.record.size()));
    add.addBindValue(record);
    if (!Exec(add)) return false;
  }
  return transaction.Commit() || FailWrite();
}

std::vector<std::string> TResultsStore::ClassList() {
  std::vector<std::string> students;
  if (!open_) return students;
  // A student's login is shown herself alone, whatever the server's catalog would tell.
  if (location_.server && !seesEveryone_) return {login_};
  timer_.Arm();
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  if (location_.server) {
    // The logins put in the class's students group itself; its teachers are members of it
    // through theirs, and their group is no login.
    query.prepare(
        "SELECT m.rolname FROM pg_roles g JOIN pg_auth_members am ON am.roleid = g.oid"
        " JOIN pg_roles m ON m.oid = am.member WHERE g.rolname = ? AND m.rolcanlogin"
        " ORDER BY m.rolname");
    query.addBindValue(
        QStringOf(TClassSetup::GroupName(location_.database, TClassSetup::TGroup::Students)));
  } else {
    // Every student of a run, whether she answered or quit: the runs' summary is small.
    query.prepare("SELECT DISTINCT student FROM run_summary ORDER BY student");
  }
  if (!query.exec()) {
    FailQuery("cannot be read", query);
    return students;
  }
  while (query.next()) students.push_back(S(query.value(0)));
  return students;
}

std::vector<TAssignmentTally> TResultsStore::AssignmentTallies() {
  std::vector<TAssignmentTally> tallies;
  if (!open_ || schemaVersion_ < 2) return tallies;
  timer_.Arm();
  // A file keeps them; a server counts them from the answers its figures count, each
  // student's first answer to each question of an assignment, and names students by login.
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  if (!query.exec(location_.server
                      ? "SELECT who, assignment_id, COUNT(*), SUM(first_score), MAX(answered_at)"
                        " FROM (" +
                            FirstAnswers(true) +
                            ") AS firsts GROUP BY who, assignment_id ORDER BY who, assignment_id"
                      : QStringLiteral("SELECT student, assignment_id, answered, first_points,"
                                       " last_answered_at FROM assignment_summary"
                                       " ORDER BY student, assignment_id"))) {
    FailQuery("cannot be read", query);
    return tallies;
  }
  while (query.next())
    tallies.push_back({S(query.value(0)), S(query.value(1)), query.value(2).toInt(),
                       query.value(3).toInt(), S(query.value(4))});
  return tallies;
}

std::vector<TAnswerRecord> TResultsStore::AnswersTo(const std::string& student,
                                                    const std::string& assignmentId) {
  std::vector<TAnswerRecord> answers;
  if (!open_ || schemaVersion_ < 2) return answers;
  ReadAnswersWhere(location_.server ? "a.login = ? AND a.assignment_id = ?"
                                    : "a.student = ? AND a.assignment_id = ?",
                   {student, assignmentId}, [&](const TAnswerRecord& answer) {
                     answers.push_back(answer);
                     return true;
                   });
  return answers;
}
