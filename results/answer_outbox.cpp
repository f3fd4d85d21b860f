#include "results/answer_outbox.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QVariant>

#include "results/answer_columns.h"
#include "results/qstring_of.h"
#include "results/results_file.h"

TOutboxCounts& TOutboxCounts::operator+=(const TOutboxCounts& other) {
  here += other.here;
  elsewhere += other.elsewhere;
  for (int i = 0; i < kSetAsideKinds; ++i) setAside[i] += other.setAside[i];
  return *this;
}

namespace {

// An answer as the outbox keeps it: one JSON object, every field by its key.
QString RecordJson(const TAnswerRecord& r) {
  return QString::fromUtf8(QJsonDocument(AnswerJson(r)).toJson(QJsonDocument::Compact));
}

bool RecordFromJson(const QString& text, TAnswerRecord& r) {
  const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
  return !o.isEmpty() && AnswerFromJson(o, r);
}

constexpr const char* kSetAsideNames[kSetAsideKinds] = {"unreadable", "impossible", "refused"};

// SQLite's primary result code behind a failure: whether the file itself is damaged.
int PrimaryCode(const QSqlError& error) {
  return error.nativeErrorCode().toInt() & 0xff;
}

bool IsDamage(int code) {
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

}  // namespace

TAnswerOutbox::TAnswerOutbox() = default;

TAnswerOutbox::~TAnswerOutbox() {
  Close();
}

std::string TAnswerOutbox::DefaultPath() {
  return (QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/tarvolin/" +
          kFileName)
      .toStdString();
}

void TAnswerOutbox::Close() {
  open_ = false;
  connection_.Remove();
}

bool TAnswerOutbox::Fail(const std::string& what, const QString& detail, int code) {
  // The file is the subject: the reason reads on after "the file" or "The file".
  error_ = " file " + path_ + ", where answers wait on this computer, " + what;
  if (timer_.Expired())
    error_ += ": it took longer than " + std::to_string(TSqliteTimer::kSeconds) + " seconds";
  else if (!detail.trimmed().isEmpty())
    error_ += ": " + detail.trimmed().toStdString();
  damaged_ = IsDamage(code);
  return false;
}

bool TAnswerOutbox::Exec(QSqlQuery& query, const std::string& what) {
  timer_.Arm();
  // A statement SQLite could not even prepare (a file that is not a database) keeps that
  // error; executing it would only say it was not prepared.
  if (!query.lastError().isValid() && query.exec()) return true;
  return Fail(what, query.lastError().databaseText(), PrimaryCode(query.lastError()));
}

bool TAnswerOutbox::Connect(TMode mode) {
  Close();
  connection_.Add("QSQLITE");
  db_.setDatabaseName(QStringOf(path_));
  db_.setConnectOptions(mode == TMode::Read ? "QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"
                                            : "QSQLITE_BUSY_TIMEOUT=5000");
  if (!db_.open())
    return Fail("cannot be opened", db_.lastError().databaseText(), PrimaryCode(db_.lastError()));
  timer_.Attach(db_);
  return true;
}

TAnswerOutbox::TKind TAnswerOutbox::Inspect() {
  // Only a file of ours: a view or trigger of another program's could make any statement run
  // for ever or send answers elsewhere, and its tables are not ours to change.
  QSqlQuery objects(db_);
  objects.setForwardOnly(true);
  objects.prepare("SELECT type, name, tbl_name FROM sqlite_master");
  if (!Exec(objects, "cannot be read")) return damaged_ ? TKind::Damaged : TKind::Failed;
  int count = 0;
  bool waiting = false, meta = false, foreign = false;
  while (objects.next()) {
    ++count;
    const QString type = objects.value(0).toString();
    const QString name = objects.value(1).toString();
    const QString table = objects.value(2).toString();
    const bool ours = table == "waiting" || table == "tarvolin_outbox_meta";
    if (type == "table" && name == "waiting") waiting = true;
    if (type == "table" && name == "tarvolin_outbox_meta") meta = true;
    if (!(type == "table" && (ours || name == "sqlite_sequence")) && !(type == "index" && ours))
      foreign = true;
  }
  if (count == 0) return TKind::Empty;
  QSqlQuery check(db_);
  check.prepare("PRAGMA quick_check");
  if (!Exec(check, "is damaged") || !check.next() || check.value(0).toString() != "ok") {
    damaged_ = true;
    return TKind::Damaged;
  }
  if (foreign || !waiting) return TKind::Foreign;
  if (!meta) {
    // An earlier version's outbox held this table alone, with exactly these columns.
    const QSqlRecord columns = db_.record("waiting");
    const bool earlier = columns.count() == 4 && columns.contains("seq") &&
                         columns.contains("answer_id") && columns.contains("destination") &&
                         columns.contains("record");
    return earlier ? TKind::Earlier : TKind::Foreign;
  }
  QSqlQuery version(db_);
  version.prepare("SELECT value FROM tarvolin_outbox_meta WHERE name = 'version'");
  if (!Exec(version, "cannot be read")) return TKind::Failed;
  const QString text = version.next() ? version.value(0).toString() : QString();
  if (text == QString::number(kVersion)) return TKind::Ours;
  bool number = false;
  return text.toInt(&number) > kVersion && number ? TKind::Newer : TKind::Foreign;
}

bool TAnswerOutbox::Create() {
  return Build({"CREATE TABLE waiting (seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                " answer_id TEXT NOT NULL UNIQUE, destination TEXT NOT NULL, record TEXT NOT NULL,"
                " set_aside TEXT, set_aside_why TEXT)",
                "CREATE TABLE tarvolin_outbox_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)"},
               "cannot be made");
}

bool TAnswerOutbox::Upgrade() {
  return Build({"ALTER TABLE waiting ADD COLUMN set_aside TEXT",
                "ALTER TABLE waiting ADD COLUMN set_aside_why TEXT",
                "CREATE TABLE tarvolin_outbox_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)"},
               "cannot be brought up to date");
}

bool TAnswerOutbox::Build(std::initializer_list<const char*> statements, const std::string& what) {
  TSqlTransaction transaction(db_);
  if (!transaction.Begun())
    return Fail("cannot be written", db_.lastError().databaseText(), PrimaryCode(db_.lastError()));
  for (const char* statement : statements) {
    QSqlQuery query(db_);
    query.prepare(statement);
    if (!Exec(query, what)) return false;
  }
  QSqlQuery version(db_);
  version.prepare("INSERT INTO tarvolin_outbox_meta (name, value) VALUES ('version', ?)");
  version.addBindValue(QString::number(kVersion));
  if (!Exec(version, what)) return false;
  return transaction.Commit() || Fail(what, db_.lastError().databaseText());
}

QString TAnswerOutbox::MoveAside() {
  Close();
  // Kept under a name that says what it is, beside any earlier one, never over it; the
  // journal files SQLite keeps beside it go with it, so that none is taken into the new file.
  const QString path = QStringOf(path_);
  QString aside = path + ".damaged";
  for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(aside + "-wal"); ++n)
    aside = path + ".damaged." + QString::number(n);
  if (!QFile::rename(path, aside)) {
    Fail("is damaged and cannot be moved aside", {});
    return {};
  }
  for (const char* journal : {"-wal", "-shm", "-journal"})
    if (QFileInfo::exists(path + journal)) QFile::rename(path + journal, aside + journal);
  return aside;
}

int TAnswerOutbox::Salvage(const QString& damagedPath) {
  // Whatever rows of the damaged file can still be read come over, each once.
  int taken = 0;
  {
    TSqlConnection salvage("tarvolin-outbox-salvage");
    QSqlDatabase& old = salvage.Add("QSQLITE");
    old.setDatabaseName(damagedPath);
    old.setConnectOptions("QSQLITE_OPEN_READONLY");
    if (old.open()) {
      TSqliteTimer timer;
      timer.Attach(old);
      QSqlQuery rows(old);
      rows.setForwardOnly(true);
      if (rows.exec("SELECT answer_id, destination, record FROM waiting ORDER BY seq")) {
        while (rows.next()) {
          timer.Arm();
          QSqlQuery add(db_);
          add.prepare(
              "INSERT INTO waiting (answer_id, destination, record) VALUES (?, ?, ?)"
              " ON CONFLICT (answer_id) DO NOTHING");
          for (int i = 0; i < 3; ++i) add.addBindValue(rows.value(i).toString());
          if (Exec(add, "cannot be written")) ++taken;
        }
      }
    }
  }
  return taken;
}

bool TAnswerOutbox::Open(const std::string& path, TMode mode) {
  Close();
  path_ = path;
  error_.clear();
  notice_.clear();
  damaged_ = false;
  if (mode == TMode::Repair && !QDir().mkpath(QFileInfo(QStringOf(path)).absolutePath()))
    return Fail("cannot be made", "its folder cannot be made");
  if (!Connect(mode) && !(mode == TMode::Repair && damaged_)) return false;
  TKind kind = db_.isOpen() ? Inspect() : TKind::Damaged;
  QString aside;
  if (kind == TKind::Damaged && mode == TMode::Repair) {
    aside = MoveAside();
    if (aside.isEmpty() || !Connect(mode)) return false;
    kind = Inspect();
  }
  switch (kind) {
    case TKind::Ours:
      break;
    case TKind::Empty:
      if (mode != TMode::Repair || !Create())
        return error_.empty() ? Fail("is not set up yet", {}) : false;
      break;
    case TKind::Earlier:
      if (mode != TMode::Repair || !Upgrade())
        return error_.empty() ? Fail("is of an earlier version", {}) : false;
      break;
    case TKind::Newer:
      Close();
      return Fail("was written by a newer version of Tarvolin and is left as it is", {});
    case TKind::Foreign:
      Close();
      return Fail("is not one of Tarvolin's and is left as it is", {});
    case TKind::Damaged:
      Close();
      return Fail("is damaged", {}, SQLITE_CORRUPT);
    case TKind::Failed:
      Close();
      return false;
  }
  open_ = true;
  if (mode == TMode::Read) return true;
  UseLocalJournal(db_, path);
  // Each answer is kept before the quiz goes on, so it must not wait for the disk: with
  // write-ahead logging this survives the program being killed at any moment, and only a
  // power cut can take the last answers before the log reaches the disk.
  QSqlQuery(db_).exec("PRAGMA synchronous=NORMAL");
  if (!aside.isEmpty()) {
    const int taken = Salvage(aside);
    notice_ = "The answers waiting on this computer were in a damaged file, kept as " +
              aside.toStdString() + "; a new one was made" +
              (taken > 0 ? " with the " + std::to_string(taken) + " answers still readable in it"
                         : std::string());
  }
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
  return open_ ? Exec(query, "cannot be written") : Fail("cannot be written", "it is not open");
}

bool TAnswerOutbox::Oldest(const std::string& destination, int64_t afterSeq, int limit,
                           std::vector<TWaitingAnswer>& answers) {
  answers.clear();
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  query.prepare(
      "SELECT seq, destination, record FROM waiting WHERE set_aside IS NULL AND seq > ?"
      " AND (destination = ? OR destination = '') ORDER BY seq LIMIT ?");
  query.addBindValue(static_cast<qlonglong>(afterSeq));
  query.addBindValue(QStringOf(destination));
  query.addBindValue(limit);
  if (!open_ || !Exec(query, "cannot be read")) return false;
  while (query.next()) {
    timer_.Arm();
    TWaitingAnswer answer;
    answer.seq = query.value(0).toLongLong();
    answer.destination = query.value(1).toString().toStdString();
    answer.readable = RecordFromJson(query.value(2).toString(), answer.record);
    answers.push_back(std::move(answer));
  }
  return true;
}

bool TAnswerOutbox::Remove(int64_t seq) {
  QSqlQuery query(db_);
  query.prepare("DELETE FROM waiting WHERE seq = ?");
  query.addBindValue(static_cast<qlonglong>(seq));
  return Exec(query, "cannot be written");
}

bool TAnswerOutbox::SetAside(int64_t seq, TSetAside why, const std::string& details) {
  QSqlQuery query(db_);
  query.prepare("UPDATE waiting SET set_aside = ?, set_aside_why = ? WHERE seq = ?");
  query.addBindValue(QString::fromLatin1(kSetAsideNames[static_cast<int>(why)]));
  query.addBindValue(QStringOf(details));
  query.addBindValue(static_cast<qlonglong>(seq));
  return Exec(query, "cannot be written");
}

bool TAnswerOutbox::Redirect(const std::string& destination) {
  QSqlQuery query(db_);
  query.prepare(
      "UPDATE waiting SET destination = ? WHERE set_aside IS NULL AND destination <> ?"
      " AND destination <> ''");
  query.addBindValue(QStringOf(destination));
  query.addBindValue(QStringOf(destination));
  return Exec(query, "cannot be written");
}

bool TAnswerOutbox::Counts(const std::string& destination, TOutboxCounts& counts) {
  counts = {};
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  query.prepare(
      "SELECT set_aside, destination = ? OR destination = '', COUNT(*) FROM waiting"
      " GROUP BY 1, 2");
  query.addBindValue(QStringOf(destination));
  if (!open_ || !Exec(query, "cannot be read")) return false;
  while (query.next()) {
    const int64_t n = query.value(2).toLongLong();
    if (query.value(0).isNull()) {
      (query.value(1).toBool() ? counts.here : counts.elsewhere) += n;
      continue;
    }
    const QString kind = query.value(0).toString();
    for (int i = 0; i < kSetAsideKinds; ++i)
      if (kind == kSetAsideNames[i]) counts.setAside[i] += n;
  }
  return true;
}
