#include "results/answer_outbox.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>
#include <QVariant>

#include "results/qstring_of.h"
#include "results/results_file.h"

namespace {

// An answer as the outbox keeps it: one JSON object, every field by name.
QString RecordJson(const TAnswerRecord& r) {
  QJsonArray coaching;
  for (const TCoachingNote& note : r.coaching)
    coaching.append(QJsonArray{QStringOf(std::string(CoachingStepName(note.step))),
                               QStringOf(note.substance)});
  const QJsonObject o{
      {"answerId", QStringOf(r.answerId)},     {"runId", QStringOf(r.runId)},
      {"runStarted", QStringOf(r.runStarted)}, {"answeredAt", QStringOf(r.answeredAt)},
      {"student", QStringOf(r.student)},       {"login", QStringOf(r.login)},
      {"types", QStringOf(r.types)},           {"questionNumber", r.questionNumber},
      {"question", QStringOf(r.question)},     {"questionType", r.questionType},
      {"storedAnswer", QStringOf(r.storedAnswer)}, {"firstAnswer", QStringOf(r.firstAnswer)},
      {"finalAnswer", QStringOf(r.finalAnswer)},   {"firstScore", r.firstScore},
      {"finalScore", r.finalScore},
      {"ending", QStringOf(std::string(EndingName(r.ending)))},
      {"coaching", coaching},                  {"seconds", r.seconds}};
  return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

bool RecordFromJson(const QString& text, TAnswerRecord& r) {
  const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
  if (o.isEmpty()) return false;
  auto s = [&o](const char* key) { return o.value(key).toString().toStdString(); };
  r.answerId = s("answerId");
  r.runId = s("runId");
  r.runStarted = s("runStarted");
  r.answeredAt = s("answeredAt");
  r.student = s("student");
  r.login = s("login");
  r.types = s("types");
  r.questionNumber = o.value("questionNumber").toInt();
  r.question = s("question");
  r.questionType = o.value("questionType").toInt();
  r.storedAnswer = s("storedAnswer");
  r.firstAnswer = s("firstAnswer");
  r.finalAnswer = s("finalAnswer");
  r.firstScore = o.value("firstScore").toInt();
  r.finalScore = o.value("finalScore").toInt();
  if (!EndingFromName(s("ending"), r.ending)) return false;
  r.coaching.clear();
  for (const QJsonValue& value : o.value("coaching").toArray()) {
    const QJsonArray pair = value.toArray();
    TCoachingNote note;
    if (!CoachingStepFromName(pair.at(0).toString().toStdString(), note.step)) return false;
    note.substance = pair.at(1).toString().toStdString();
    r.coaching.push_back(std::move(note));
  }
  r.seconds = o.value("seconds").toInt();
  return !r.answerId.empty();
}

}  // namespace

TAnswerOutbox::TAnswerOutbox()
    : connectionName_("tarvolin-outbox-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

TAnswerOutbox::~TAnswerOutbox() {
  if (db_.isValid()) {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
  }
}

std::string TAnswerOutbox::DefaultPath() {
  return (QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/tarvolin/" +
          kFileName)
      .toStdString();
}

bool TAnswerOutbox::Fail(const std::string& what, const QString& detail) {
  error_ = "the answers waiting on this computer (" + path_ + ") " + what;
  if (!detail.trimmed().isEmpty()) error_ += ": " + detail.trimmed().toStdString();
  return false;
}

bool TAnswerOutbox::Open(const std::string& path) {
  path_ = path;
  if (!QDir().mkpath(QFileInfo(QStringOf(path)).absolutePath()))
    return Fail("cannot be kept", "its folder cannot be made");
  db_ = QSqlDatabase::addDatabase("QSQLITE", connectionName_);
  db_.setDatabaseName(QStringOf(path));
  db_.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
  if (!db_.open()) return Fail("cannot be opened", db_.lastError().databaseText());
  QSqlQuery query(db_);
  if (!query.exec("CREATE TABLE IF NOT EXISTS waiting (seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                  " answer_id TEXT NOT NULL UNIQUE, destination TEXT NOT NULL,"
                  " record TEXT NOT NULL)"))
    return Fail("cannot be opened", query.lastError().databaseText());
  UseLocalJournal(db_, path);
  // Each answer is kept before the quiz goes on, so it must not wait for the disk: with
  // write-ahead logging this survives the program being killed at any moment, and only a
  // power cut can take the last answers before the log reaches the disk.
  query.exec("PRAGMA synchronous=NORMAL");
  return true;
}

bool TAnswerOutbox::Add(const TAnswerRecord& record, const std::string& destination) {
  QSqlQuery query(db_);
  query.prepare(
      "INSERT INTO waiting (answer_id, destination, record) VALUES (?, ?, ?)"
      " ON CONFLICT (answer_id) DO NOTHING");
  query.addBindValue(QStringOf(record.answerId));
  query.addBindValue(QStringOf(destination));
  query.addBindValue(RecordJson(record));
  return query.exec() || Fail("cannot be written", query.lastError().databaseText());
}

std::vector<TAnswerRecord> TAnswerOutbox::Oldest(int limit) {
  std::vector<TAnswerRecord> records;
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  query.prepare("SELECT answer_id, record FROM waiting ORDER BY seq LIMIT ?");
  query.addBindValue(limit);
  if (!query.exec()) {
    Fail("cannot be read", query.lastError().databaseText());
    return records;
  }
  while (query.next()) {
    TAnswerRecord record;
    if (RecordFromJson(query.value(1).toString(), record)) records.push_back(std::move(record));
  }
  return records;
}

bool TAnswerOutbox::Remove(const std::string& answerId) {
  QSqlQuery query(db_);
  query.prepare("DELETE FROM waiting WHERE answer_id = ?");
  query.addBindValue(QStringOf(answerId));
  return query.exec() || Fail("cannot be written", query.lastError().databaseText());
}

int64_t TAnswerOutbox::Count() {
  QSqlQuery query(db_);
  if (!query.exec("SELECT COUNT(*) FROM waiting") || !query.next()) return -1;
  return query.value(0).toLongLong();
}
