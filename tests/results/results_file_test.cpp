// A results file as a lab meets it: files that are not ours are left exactly as they are, a
// file in a folder the lab's accounts share takes all of them, and a busy file loses nothing.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <functional>
#include <memory>
#include <vector>

#include "results/answer_columns.h"
#include "results/results_store.h"
#include "tests/results/results_backend.h"
#include "tests/results/sample_answers.h"
#include "tests/support/has_text.h"

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs statements on a file as another program would, outside the store.
void Craft(const QString& path, const QStringList& statements) {
  const QString name = QUuid::createUuid().toString();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    for (const QString& statement : statements) {
      QSqlQuery query(db);
      ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(name);
}

QStringList OursWithVersion(const QString& version) {
  return {"CREATE TABLE tarvolin_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
          "CREATE TABLE answers (answer_id TEXT PRIMARY KEY)",
          "INSERT INTO tarvolin_meta VALUES ('schema_version', '" + version + "')"};
}

struct TCrafted {
  const char* name;
  QStringList statements;
  const char* told;  // what the refusal says
};

class CraftedFile : public ::testing::TestWithParam<TCrafted> {};

// Neither the quiz's writing nor the results window's looking changes such a file, and a query
// that would never end is stopped.
TEST_P(CraftedFile, IsRefusedAndLeftAsItIs) {
  QTemporaryDir dir;
  const QString path = dir.filePath("tarvolin-results.db");
  Craft(path, GetParam().statements);
  const QByteArray before = Bytes(path);
  for (TResultsStore::TMode mode : {TResultsStore::TMode::ReadWrite, TResultsStore::TMode::ReadOnly}) {
    TResultsStore store;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(store.Open(TResultsLocation::File(path.toStdString()), mode));
    EXPECT_TRUE(HasText(store.Error(), GetParam().told)) << store.Error();
    EXPECT_LT(timer.elapsed(), 10000);
    std::string why;
    store.SetLocation(TResultsLocation::File(path.toStdString()));
    EXPECT_FALSE(store.Record(SampleAnswer(0), why));
  }
  EXPECT_EQ(Bytes(path), before);
}

const char* const kNotOurs = "is not a results file of Tarvolin";

INSTANTIATE_TEST_SUITE_P(
    Files, CraftedFile,
    ::testing::Values(
        TCrafted{"another_programs_table",
                 {"CREATE TABLE answers (id INTEGER, text TEXT)", "INSERT INTO answers VALUES (1, 'x')"},
                 kNotOurs},
        TCrafted{"meta_without_a_version",
                 {"CREATE TABLE tarvolin_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)"},
                 kNotOurs},
        TCrafted{"version_with_a_point", OursWithVersion("2.0"), kNotOurs},
        TCrafted{"version_with_a_letter", OursWithVersion("v2"), kNotOurs},
        TCrafted{"negative_version", OursWithVersion("-1"), kNotOurs},
        TCrafted{"empty_version", OursWithVersion(""), kNotOurs},
        TCrafted{"version_that_wraps", OursWithVersion("4294967297"), kNotOurs},
        TCrafted{"zero_version", OursWithVersion("0"), kNotOurs},
        TCrafted{"our_names_as_endless_views",
                 {"CREATE TABLE tarvolin_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
                  "INSERT INTO tarvolin_meta VALUES ('schema_version', '1')",
                  "CREATE VIEW answers AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1"
                  " FROM n) SELECT i AS answer_id FROM n"},
                 kNotOurs},
        TCrafted{"a_trigger_on_our_table",
                 {"CREATE TABLE tarvolin_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
                  "INSERT INTO tarvolin_meta VALUES ('schema_version', '1')",
                  "CREATE TABLE answers (answer_id TEXT PRIMARY KEY)",
                  "CREATE TRIGGER answers_copy AFTER INSERT ON answers BEGIN"
                  " INSERT INTO tarvolin_meta VALUES (new.answer_id, 'x'); END"},
                 kNotOurs}),
    [](const ::testing::TestParamInfo<TCrafted>& info) { return std::string(info.param.name); });

// The main file, -wal and -shm of path while a connection holds rows it has not yet folded into
// the file: what a writer killed at that moment leaves.
std::vector<QByteArray> LeftByAKilledWriter(const QString& path, const QStringList& statements) {
  const QString name = QUuid::createUuid().toString();
  std::vector<QByteArray> left;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
    db.setDatabaseName(path);
    EXPECT_TRUE(db.open());
    QSqlQuery(db).exec("PRAGMA wal_autocheckpoint=0");
    for (const QString& statement : statements)
      EXPECT_TRUE(QSqlQuery(db).exec(statement)) << statement.toStdString();
    for (const char* beside : {"", "-wal", "-shm"}) left.push_back(Bytes(path + beside));
    db.close();
  }
  QSqlDatabase::removeDatabase(name);
  return left;
}

void Lay(const QString& path, const std::vector<QByteArray>& files) {
  const char* const beside[] = {"", "-wal", "-shm"};
  for (std::size_t i = 0; i < files.size(); ++i) {
    QFile file(path + beside[i]);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(files[i]);
  }
}

void Keep(const QString& path, int answers) {
  TResultsStore store;
  ASSERT_TRUE(store.Open(TResultsLocation::File(path.toStdString()))) << store.Error();
  std::string why;
  for (int n = 0; n < answers; ++n)
    ASSERT_TRUE(store.Record(SampleAnswer(n, path.toStdString()), why)) << why;
}

QString Bulk(int count) {
  return QStringLiteral(
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
             " INSERT INTO answers (%2) SELECT 'bulk-' || i, 'run', 't', printf('2026-01-01T%06d', i),"
             " 'bulk', 'bulk', 'types', 1, 'q', 0, 'a', 'a', 'a', 3, 3, 'right', 1 FROM n")
      .arg(count)
      .arg(QString::fromStdString(AnswerColumnNames({}, 1)));
}

struct TBeside {
  const char* name;
  std::function<void(const QTemporaryDir&, const QString&)> make;  // the file at the path
  const char* told;  // in the refusal, or the notice of a file shown as it is
  bool opens;        // shown at all
  bool writes;       // the quiz keeps its answer in it
  int64_t answers;   // what is seen in it, -1 when nothing is
};

class BesideFiles : public ::testing::TestWithParam<TBeside> {};

// Every way the program opens a results file: the quiz to write, the results window to look,
// and the window's Open... with several files, merged. Nothing SQLite would take in from beside
// a file is taken in unless it is the file's own, and a file not written leaves every byte.
TEST_P(BesideFiles, AreTakenInOnlyWhenTheFilesOwn) {
  const TBeside& row = GetParam();
  for (const char* way : {"quiz", "window", "merge"}) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tarvolin-results.db");
    row.make(dir, path);
    const QByteArray file = Bytes(path), wal = Bytes(path + "-wal");
    const TResultsLocation location = TResultsLocation::File(path.toStdString());
    TResultsStore store, into;
    bool opened = false;
    int64_t seen = -1;
    if (way == std::string("quiz")) {
      opened = store.Open(location);
      std::string why;
      EXPECT_EQ(store.Record(SampleAnswer(99), why), row.writes) << way << ": " << why;
      seen = store.AnswerCount() - (row.writes ? 1 : 0);
    } else {
      opened = store.Open(location, TResultsStore::TMode::ReadOnly);
      seen = store.AnswerCount();
    }
    if (way == std::string("merge") && opened) {
      ASSERT_TRUE(into.Open(TResultsLocation::File(dir.filePath("merged.db").toStdString())));
      into.UseAsScratch();
      EXPECT_EQ(into.Merge(store), row.answers) << into.Error();
    }
    EXPECT_EQ(opened, row.opens) << way << ": " << store.Error();
    EXPECT_TRUE(HasText(store.Error() + store.Notice(), row.told)) << way << ": " << store.Error();
    EXPECT_EQ(seen, opened ? row.answers : -1) << way;
    store.Close();
    if (row.writes && way == std::string("quiz")) continue;
    EXPECT_TRUE(Bytes(path) == file) << way << ": the file was changed";
    EXPECT_TRUE(Bytes(path + "-wal") == wal) << way << ": its -wal was changed";
  }
}

const char* const kForeign =
    "the file tarvolin-results.db-wal beside it was written by another database, and SQLite "
    "would write it into tarvolin-results.db and damage it; move tarvolin-results.db-wal";
const char* const kNewer = "was written by a newer version of Tarvolin; it is shown as it is";
const QString kMakeNewer =
    QStringLiteral("UPDATE tarvolin_meta SET value = '%1'").arg(TResultsStore::kSchemaVersion + 1);

INSTANTIATE_TEST_SUITE_P(
    Files, BesideFiles,
    ::testing::Values(
        TBeside{"another_results_files_wal",
                [](const QTemporaryDir& dir, const QString& path) {
                  Keep(path, 20);
                  const QString other = dir.filePath("other.db");
                  Keep(other, 3);
                  auto left = LeftByAKilledWriter(other, {Bulk(200)});
                  left[0] = Bytes(path);
                  Lay(path, left);
                },
                kForeign, false, false, -1},
        TBeside{"the_wal_of_a_copy_that_went_its_own_way",
                [](const QTemporaryDir& dir, const QString& path) {
                  Keep(path, 3);
                  QFile::copy(path, dir.filePath("other.db"));
                  Craft(path, {QString(Bulk(50)).replace("'bulk-'", "'mine-'")});
                  auto left = LeftByAKilledWriter(dir.filePath("other.db"), {Bulk(200)});
                  left[0] = Bytes(path);
                  Lay(path, left);
                },
                kForeign, false, false, -1},
        TBeside{"a_newer_version_without_a_wal",
                [](const QTemporaryDir&, const QString& path) {
                  Keep(path, 5);
                  Craft(path, {kMakeNewer});
                },
                kNewer, true, false, 5},
        TBeside{"a_newer_version_with_its_wal",
                [](const QTemporaryDir&, const QString& path) {
                  Keep(path, 5);
                  Lay(path, LeftByAKilledWriter(
                                path, {kMakeNewer, Bulk(50)}));
                },
                kNewer, true, false, 55},
        TBeside{"another_programs_file_with_a_wal",
                [](const QTemporaryDir&, const QString& path) {
                  Craft(path, {"PRAGMA journal_mode=WAL", "CREATE TABLE answers (id INTEGER)"});
                  Lay(path, LeftByAKilledWriter(path, {"INSERT INTO answers VALUES (1)"}));
                },
                kNotOurs, false, false, -1},
        TBeside{"its_own_wal_left_by_a_killed_writer",
                [](const QTemporaryDir&, const QString& path) {
                  Keep(path, 5);
                  Lay(path, LeftByAKilledWriter(path, {Bulk(200)}));
                },
                "", true, true, 205},
        TBeside{"its_own_wal_begun_afresh_after_a_checkpoint",
                [](const QTemporaryDir&, const QString& path) {
                  Keep(path, 5);
                  Lay(path, LeftByAKilledWriter(
                                path, {Bulk(200), "PRAGMA wal_checkpoint(PASSIVE)",
                                       QString(Bulk(300)).replace("'bulk-'", "'more-'")}));
                },
                "", true, true, 505}),
    [](const ::testing::TestParamInfo<TBeside>& info) { return std::string(info.param.name); });

// A lab's shared folder (a group of the lab's accounts, setgid, mode 2775): the first account
// makes the file, and a second account, whatever its umask, writes into it too.
TEST(SharedResultsFile, TakesEveryAccountOfTheGroup) {
  if (geteuid() != 0) GTEST_SKIP() << "a second account is needed: run as root";
  QTemporaryDir dir;
  const group* lab = getgrnam("nogroup");
  ASSERT_NE(lab, nullptr);
  ASSERT_EQ(chown(dir.path().toUtf8().constData(), 0, lab->gr_gid), 0);
  ASSERT_EQ(chmod(dir.path().toUtf8().constData(), 02775), 0);
  chmod(QFileInfo(dir.path()).absolutePath().toUtf8().constData(), 0755);
  const QString path = dir.filePath("tarvolin-results.db");
  const mode_t mask = umask(022);
  {
    TResultsStore store;
    ASSERT_TRUE(store.Open(TResultsLocation::File(path.toStdString()))) << store.Error();
    std::string why;
    ASSERT_TRUE(store.Record(SampleAnswer(0, "first"), why)) << why;
  }
  umask(mask);
  struct stat file {};
  ASSERT_EQ(stat(path.toUtf8().constData(), &file), 0);
  EXPECT_EQ(file.st_mode & 0777, 0664u);
  EXPECT_EQ(file.st_gid, lab->gr_gid);
  QProcess writer;
  writer.start("runuser", {"-u", "nobody", "--", "sh", "-c",
                           "umask 077; exec \"$0\" \"$@\"", WriterProgram(), path, "3", "second"});
  ASSERT_TRUE(writer.waitForFinished(60000));
  EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardOutput().toStdString();
  TResultsStore store;
  ASSERT_TRUE(store.Open(TResultsLocation::File(path.toStdString()))) << store.Error();
  EXPECT_EQ(store.AnswerCount(), 4);
}

// Thirty writers as fast as they can, and writers beside a reader going through a large file:
// every answer is kept (writers wait their turn; readers do not hold them off).
TEST(BusyResultsFile, ThirtyWritersAndALongReadLoseNothing) {
  QTemporaryDir dir;
  const QString path = dir.filePath("tarvolin-results.db");
  {
    TResultsStore store;
    ASSERT_TRUE(store.Open(TResultsLocation::File(path.toStdString()))) << store.Error();
  }
  Craft(path, {Bulk(100000)});
  auto writers = [&](int count, int answers) {
    std::vector<std::unique_ptr<QProcess>> started;
    for (int w = 0; w < count; ++w) {
      started.push_back(std::make_unique<QProcess>());
      started.back()->start(WriterProgram(), {path, QString::number(answers),
                                              QStringLiteral("w%1-%2").arg(count).arg(w)});
    }
    return started;
  };
  // A reader over the 100,000 answers, as Export CSV... reads them, beside ten writers.
  auto beside = writers(10, 20);
  int64_t read = 0;
  {
    TResultsStore reader;
    ASSERT_TRUE(reader.Open(TResultsLocation::File(path.toStdString()), TResultsStore::TMode::ReadOnly));
    ASSERT_TRUE(reader.ReadAnswers([&](const TAnswerRecord&) { return ++read > 0; })) << reader.Error();
  }
  EXPECT_GE(read, 100000);
  auto burst = writers(30, 30);
  for (auto* group : {&beside, &burst})
    for (auto& writer : *group) {
      ASSERT_TRUE(writer->waitForFinished(180000));
      EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardOutput().toStdString();
    }
  TResultsStore store;
  ASSERT_TRUE(store.Open(TResultsLocation::File(path.toStdString()))) << store.Error();
  EXPECT_EQ(store.AnswerCount(), 100000 + 10 * 20 + 30 * 30);
}

}  // namespace
