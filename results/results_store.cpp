#include "results/results_store.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <QVariant>
#include <map>
#include <unordered_map>

#include "results/qstring_of.h"

namespace {

std::string S(const QVariant& value) {
  return value.toString().toStdString();
}

// Texts are TEXT and numbers INTEGER in both databases; upserts need SQLite 3.24 or
// PostgreSQL 9.5, and name the table in their SET clauses, which both accept.
const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS tarvolin_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS answers ("
    " answer_id TEXT PRIMARY KEY, run_id TEXT NOT NULL, run_started TEXT NOT NULL,"
    " answered_at TEXT NOT NULL, student TEXT NOT NULL, login TEXT NOT NULL, types TEXT NOT NULL,"
    " question_number INTEGER NOT NULL, question TEXT NOT NULL, question_type INTEGER NOT NULL,"
    " stored_answer TEXT NOT NULL, first_answer TEXT NOT NULL, final_answer TEXT NOT NULL,"
    " first_score INTEGER NOT NULL, final_score INTEGER NOT NULL, ending TEXT NOT NULL,"
    " seconds INTEGER NOT NULL)",
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
    "answers",      "coaching",         "run_summary",         "type_summary",
    "step_summary", "question_summary", "first_answer_summary"};

std::string QuestionKey(const TAnswerRecord& record) {
  return record.question + '\n' + record.storedAnswer;
}

}  // namespace

TResultsStore::TResultsStore()
    : connectionName_("tarvolin-results-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

TResultsStore::~TResultsStore() {
  Close();
}

void TResultsStore::Close() {
  if (db_.isValid()) {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
  }
  open_ = false;
  readOnly_ = false;
  inMemory_ = false;
  schemaVersion_ = 0;
}

void TResultsStore::Fail(const std::string& what, const QString& driverText) {
  error_ = location_.Describe() + " " + what;
  const QString detail = driverText.trimmed();
  if (!detail.isEmpty()) error_ += " (" + detail.toStdString() + ")";
}

std::string TResultsStore::NotKeptMessage() const {
  return "Your answers are not being kept: " + error_ + ". The quiz goes on.";
}

bool TResultsStore::Exec(QSqlQuery& query) {
  if (query.exec()) return true;
  Fail("cannot be written", query.lastError().databaseText());
  return false;
}

bool TResultsStore::Exec(const QString& statement) {
  QSqlQuery query(db_);
  if (query.exec(statement)) return true;
  Fail("cannot be written", query.lastError().databaseText());
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
  db_ = QSqlDatabase::addDatabase(driver, connectionName_);
  if (location.server) {
    db_.setHostName(QStringOf(location.host));
    if (location.port > 0) db_.setPort(location.port);
    db_.setUserName(QStringOf(location.user));
    db_.setPassword(QStringOf(location.password));
    db_.setDatabaseName(QStringOf(location.database));
    db_.setConnectOptions("connect_timeout=5");
  } else {
    db_.setDatabaseName(QStringOf(location.file));
    db_.setConnectOptions(readOnly ? "QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=3000"
                                   : "QSQLITE_BUSY_TIMEOUT=3000");
  }
  if (!db_.open()) {
    Fail(location.server ? "cannot be reached" : "cannot be opened",
         db_.lastError().databaseText());
    Close();
    return false;
  }
  open_ = true;
  readOnly_ = readOnly;
  return true;
}

bool TResultsStore::Open(const TResultsLocation& location, TMode mode) {
  error_.clear();
  notice_.clear();
  const bool readOnly = mode == TMode::ReadOnly;
  if (!OpenConnection(location, readOnly)) return false;
  bool ok = ReadOrCreateSchema(!readOnly);
  // Two machines setting up one server's tables at the same moment: the second finds them.
  if (!ok && location.server && open_) {
    QThread::msleep(200);
    ok = ReadOrCreateSchema(!readOnly);
  }
  if (!ok) {
    Close();
    return false;
  }
  if (schemaVersion_ > kSchemaVersion) {
    notice_ = location.Describe() +
              " was written by a newer version of Tarvolin; it is shown as it is and not changed";
    const int version = schemaVersion_;
    if (!location.server && !readOnly && !OpenConnection(location, true)) return false;
    schemaVersion_ = version;
    readOnly_ = true;
  }
  return true;
}

bool TResultsStore::OpenInMemory() {
  error_.clear();
  notice_.clear();
  if (!OpenConnection(TResultsLocation::File(":memory:"), false)) return false;
  inMemory_ = true;
  return CreateSchema();
}

bool TResultsStore::ReadOrCreateSchema(bool mayCreate) {
  {
    QSqlQuery query(db_);
    if (query.exec("SELECT value FROM tarvolin_meta WHERE name = 'schema_version'")) {
      schemaVersion_ = query.next() ? query.value(0).toInt() : 0;
      if (schemaVersion_ > 0) return true;
    } else {
      const QString text = query.lastError().databaseText();
      // Only a store without our tables is set up; a damaged file is left exactly as it is.
      if (!text.contains("no such table") && !text.contains("does not exist")) {
        Fail("cannot be opened", text);
        return false;
      }
    }
  }
  if (!mayCreate) {
    Fail("cannot be opened", "it holds no Tarvolin results");
    return false;
  }
  return CreateSchema();
}

bool TResultsStore::CreateSchema() {
  if (!db_.transaction()) {
    Fail("cannot be written", db_.lastError().databaseText());
    return false;
  }
  for (const char* statement : kSchema) {
    if (!Exec(statement)) {
      db_.rollback();
      return false;
    }
  }
  QSqlQuery version(db_);
  version.prepare(
      "INSERT INTO tarvolin_meta (name, value) VALUES ('schema_version', ?)"
      " ON CONFLICT (name) DO NOTHING");
  version.addBindValue(QString::number(kSchemaVersion));
  if (!Exec(version) || !db_.commit()) {
    if (error_.empty()) Fail("cannot be written", db_.lastError().databaseText());
    db_.rollback();
    return false;
  }
  QSqlQuery query(db_);
  schemaVersion_ =
      query.exec("SELECT value FROM tarvolin_meta WHERE name = 'schema_version'") && query.next()
          ? query.value(0).toInt()
          : kSchemaVersion;
  return true;
}

bool TResultsStore::Record(const TAnswerRecord& record, std::string& why) {
  error_.clear();
  if (!open_ && !Open(location_)) {
    why = NotKeptMessage();
    return false;
  }
  if (readOnly_) {
    error_ = notice_.empty() ? location_.Describe() + " is open only for reading" : notice_;
    why = NotKeptMessage();
    return false;
  }
  if (!db_.transaction()) {
    Fail("cannot be written", db_.lastError().databaseText());
  } else {
    bool added = false;
    if (Write(record, added) && db_.commit()) return true;
    if (error_.empty()) Fail("cannot be written", db_.lastError().databaseText());
    db_.rollback();
  }
  why = NotKeptMessage();
  // A server that went away, or a file that was locked, is tried afresh with the next answer.
  if (!inMemory_) Close();
  return false;
}

bool TResultsStore::Write(const TAnswerRecord& r, bool& added) {
  added = false;
  QSqlQuery answer(db_);
  answer.prepare(
      "INSERT INTO answers (answer_id, run_id, run_started, answered_at, student, login, types,"
      " question_number, question, question_type, stored_answer, first_answer, final_answer,"
      " first_score, final_score, ending, seconds)"
      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
      " ON CONFLICT (answer_id) DO NOTHING");
  for (const QVariant& value :
       {QVariant(QStringOf(r.answerId)), QVariant(QStringOf(r.runId)),
        QVariant(QStringOf(r.runStarted)), QVariant(QStringOf(r.answeredAt)),
        QVariant(QStringOf(r.student)), QVariant(QStringOf(r.login)), QVariant(QStringOf(r.types)),
        QVariant(r.questionNumber), QVariant(QStringOf(r.question)), QVariant(r.questionType),
        QVariant(QStringOf(r.storedAnswer)), QVariant(QStringOf(r.firstAnswer)),
        QVariant(QStringOf(r.finalAnswer)), QVariant(r.firstScore), QVariant(r.finalScore),
        QVariant(QStringOf(std::string(EndingName(r.ending)))), QVariant(r.seconds)})
    answer.addBindValue(value);
  if (!Exec(answer)) return false;
  // The same answer from a second file, or a file opened twice, counts once.
  if (answer.numRowsAffected() != 1) return true;
  added = true;

  for (std::size_t i = 0; i < r.coaching.size(); ++i) {
    QSqlQuery note(db_);
    note.prepare("INSERT INTO coaching (answer_id, seq, step, substance) VALUES (?, ?, ?, ?)");
    note.addBindValue(QStringOf(r.answerId));
    note.addBindValue(static_cast<int>(i));
    note.addBindValue(QStringOf(std::string(CoachingStepName(r.coaching[i].step))));
    note.addBindValue(QStringOf(r.coaching[i].substance));
    if (!Exec(note)) return false;
  }

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
  run.addBindValue(answered ? 3 : 0);
  if (!Exec(run)) return false;
  // A Quit earns nothing and counts in no summary, as in the quiz's own score.
  if (!answered) return true;

  QSqlQuery type(db_);
  type.prepare(
      "INSERT INTO type_summary (student, question_type, answered, first_points, final_points,"
      " possible) VALUES (?, ?, 1, ?, ?, 3) ON CONFLICT (student, question_type) DO UPDATE SET"
      " answered = type_summary.answered + 1,"
      " first_points = type_summary.first_points + excluded.first_points,"
      " final_points = type_summary.final_points + excluded.final_points,"
      " possible = type_summary.possible + 3");
  type.addBindValue(QStringOf(r.student));
  type.addBindValue(r.questionType);
  type.addBindValue(r.firstScore);
  type.addBindValue(r.finalScore);
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

  const bool missed = r.firstScore < 3;
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

int TResultsStore::Merge(TResultsStore& other) {
  error_.clear();
  if (!open_ || readOnly_) {
    if (error_.empty()) error_ = location_.Describe() + " cannot be written";
    return -1;
  }
  if (!db_.transaction()) {
    Fail("cannot be written", db_.lastError().databaseText());
    return -1;
  }
  int added = 0;
  bool ok = true;
  const bool read = other.ReadAnswers([&](const TAnswerRecord& record) {
    bool isNew = false;
    ok = Write(record, isNew);
    if (isNew) ++added;
    return ok;
  });
  if (!read && ok) error_ = other.Error();
  if (!read || !ok || !db_.commit()) {
    if (error_.empty()) Fail("cannot be written", db_.lastError().databaseText());
    db_.rollback();
    return -1;
  }
  return added;
}

bool TResultsStore::ReadAnswers(const std::function<bool(const TAnswerRecord&)>& each) {
  error_.clear();
  if (!open_) {
    error_ = location_.Describe() + " is not open";
    return false;
  }
  std::unordered_map<std::string, std::vector<TCoachingNote>> coaching;
  QSqlQuery notes(db_);
  notes.setForwardOnly(true);
  if (!notes.exec("SELECT answer_id, step, substance FROM coaching ORDER BY answer_id, seq")) {
    Fail("cannot be read", notes.lastError().databaseText());
    return false;
  }
  while (notes.next()) {
    TCoachingNote note;
    if (!CoachingStepFromName(S(notes.value(1)), note.step)) continue;
    note.substance = S(notes.value(2));
    coaching[S(notes.value(0))].push_back(std::move(note));
  }
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  if (!query.exec("SELECT answer_id, run_id, run_started, answered_at, student, login, types,"
                  " question_number, question, question_type, stored_answer, first_answer,"
                  " final_answer, first_score, final_score, ending, seconds FROM answers"
                  " ORDER BY answered_at, answer_id")) {
    Fail("cannot be read", query.lastError().databaseText());
    return false;
  }
  while (query.next()) {
    TAnswerRecord r;
    r.answerId = S(query.value(0));
    r.runId = S(query.value(1));
    r.runStarted = S(query.value(2));
    r.answeredAt = S(query.value(3));
    r.student = S(query.value(4));
    r.login = S(query.value(5));
    r.types = S(query.value(6));
    r.questionNumber = query.value(7).toInt();
    r.question = S(query.value(8));
    r.questionType = query.value(9).toInt();
    r.storedAnswer = S(query.value(10));
    r.firstAnswer = S(query.value(11));
    r.finalAnswer = S(query.value(12));
    r.firstScore = query.value(13).toInt();
    r.finalScore = query.value(14).toInt();
    if (!EndingFromName(S(query.value(15)), r.ending)) r.ending = TEnding::Answer;
    r.seconds = query.value(16).toInt();
    if (auto found = coaching.find(r.answerId); found != coaching.end())
      r.coaching = std::move(found->second);
    if (!each(r)) return false;
  }
  return true;
}

int64_t TResultsStore::AnswerCount() {
  QSqlQuery query(db_);
  if (!open_ || !query.exec("SELECT COUNT(*) FROM answers") || !query.next()) return -1;
  return query.value(0).toLongLong();
}

bool TResultsStore::Clear() {
  error_.clear();
  if (!open_ || readOnly_) {
    error_ = notice_.empty() ? location_.Describe() + " cannot be changed" : notice_;
    return false;
  }
  if (!db_.transaction()) {
    Fail("cannot be written", db_.lastError().databaseText());
    return false;
  }
  for (const char* table : kTables) {
    if (!Exec(QStringLiteral("DELETE FROM %1").arg(table))) {
      db_.rollback();
      return false;
    }
  }
  if (db_.commit()) return true;
  Fail("cannot be written", db_.lastError().databaseText());
  db_.rollback();
  return false;
}

std::vector<TRunRow> TResultsStore::Runs(const std::string& student, int limit) {
  std::vector<TRunRow> rows;
  if (!open_) return rows;
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

std::vector<TMissedRow> TResultsStore::MostMissed(int count) {
  std::vector<TMissedRow> rows;
  if (!open_) return rows;
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
  QSqlQuery query(db_);
  if (!query.exec("SELECT DISTINCT student FROM type_summary ORDER BY student")) return students;
  while (query.next()) students.push_back(S(query.value(0)));
  return students;
}
