// The outbox on the student's machine when it fails every way a school machine makes it fail:
// no answer posted is ever dropped, later answers still reach the class server, and the
// counts the student is shown are the file's.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "results/answer_poster.h"
#include "results/class_setup.h"
#include "results/results_settings.h"
#include "results/results_store.h"
#include "results/results_window.h"
#include "tests/results/results_backend.h"
#include "tests/results/sample_answers.h"
#include "tests/support/driver.h"
#include "tests/support/full_disk.h"

namespace {

enum class TFault {
  Folder,
  FullDisk,
  FullAfterWaiting,
  DamagedRows,
  DamagedFile,
  Impossible,
  Refused,
  Foreign
};

struct TFaultRow {
  TFault fault;
  const char* name;
  int setAside[kSetAsideKinds];  // what the file ends holding set aside, by why
  bool heldInMemory;             // the student is told answers live only until the program ends
};

const TFaultRow kRows[] = {
    {TFault::Folder, "Folder", {}, true},
    {TFault::FullDisk, "FullDisk", {}, true},
    {TFault::FullAfterWaiting, "FullAfterWaiting", {}, true},
    {TFault::DamagedRows, "DamagedRows", {2, 0, 0}, false},
    {TFault::DamagedFile, "DamagedFile", {}, false},
    {TFault::Impossible, "Impossible", {0, 4, 0}, false},
    {TFault::Refused, "Refused", {0, 0, 1}, false},
    {TFault::Foreign, "Foreign", {}, true},
};

class OutboxFault : public ::testing::TestWithParam<TFaultRow> {
 protected:
  // Runs a statement on the outbox file, beside the program's own connections; with each, its
  // rows (answer id, set aside or not) are read into ids.
  bool OnFile(const QString& statement, std::map<std::string, bool>* ids = nullptr) {
    bool ok = false;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "outbox-test");
      db.setDatabaseName(path_);
      QSqlQuery query(db);
      ok = db.open() && query.exec(statement);
      while (ids && ok && query.next())
        (*ids)[query.value(0).toString().toStdString()] = query.value(1).toBool();
    }
    QSqlDatabase::removeDatabase("outbox-test");
    return ok;
  }
  std::map<std::string, bool> InFile() {
    std::map<std::string, bool> ids;
    OnFile("SELECT answer_id, set_aside IS NOT NULL FROM waiting", &ids);
    return ids;
  }
  std::set<std::string> Stored() {
    std::set<std::string> ids;
    TResultsStore store;
    if (store.Open(location_))
      store.ReadAnswers([&](const TAnswerRecord& r) { return ids.insert(r.answerId), true; });
    return ids;
  }
  // Waits until every id given is stored, or 20 s.
  bool WaitStored(TAnswerPoster& poster, const std::vector<std::string>& ids) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
      poster.Finish(500);
      QCoreApplication::processEvents();
      const std::set<std::string> stored = Stored();
      if (std::all_of(ids.begin(), ids.end(), [&](const auto& id) { return stored.count(id); }))
        return true;
    }
    return false;
  }

  TResultsLocation Latin1Location() {
    TResultsLocation location;
    TResultsLocation::Parse(TestServerAddress(), location);
    const TResultsLocation admin = location;
    location.database =
        "latin1_" + QUuid::createUuid().toString(QUuid::Id128).left(16).toStdString();
    EXPECT_TRUE(TBackendPlace::Execute(
        admin, QString::fromStdString("CREATE DATABASE " + location.database +
                                      " ENCODING 'LATIN1' LC_COLLATE 'C' LC_CTYPE 'C'"
                                      " TEMPLATE template0")));
    TClassSetup setup;
    EXPECT_TRUE(setup.Connect(location) && setup.Setup()) << setup.Error();
    return location;
  }

  TBackendPlace place_{TBackend::Postgresql};
  TResultsLocation location_;
  QString path_ = place_.Folder().filePath("outbox/tarvolin-outbox.db");
};

TEST_P(OutboxFault, NoAnswerIsDroppedLaterOnesGoAndTheCountsAreTheFiles) {
  SKIP_WITHOUT_BACKEND(place_);
  const TFaultRow& row = GetParam();
  location_ = row.fault == TFault::Refused ? Latin1Location() : place_.NewLocation();
  ASSERT_TRUE(QDir().mkpath(place_.Folder().filePath("outbox")));
  std::vector<TAnswerRecord> posted;
  for (int n = 0; n < 3; ++n) posted.push_back(SampleAnswer(n, "Ada", row.name));
  QByteArray before;
  std::set<std::string> bad;
  switch (row.fault) {
    case TFault::Folder:
      ASSERT_TRUE(QDir().mkdir(path_));
      break;
    case TFault::DamagedFile:
      before = QByteArray(8192, '\x5a');
      {
        QFile f(path_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(before) > 0);
      }
      break;
    case TFault::Foreign:
      ASSERT_TRUE(OnFile("CREATE TABLE notes (text TEXT)"));
      ASSERT_TRUE(OnFile("CREATE TRIGGER eat AFTER INSERT ON notes BEGIN DELETE FROM notes; END"));
      break;
    case TFault::Impossible:
      posted[0].firstScore = 99;
      posted[1].finalScore = -7;
      posted[2].student.clear();
      posted.push_back(SampleAnswer(3, std::string("Ada\0Byron", 9), row.name));
      for (const TAnswerRecord& r : posted) bad.insert(r.answerId);
      break;
    case TFault::Refused:
      // A class database in LATIN1: this student's name cannot be stored in it.
      posted[1].student = "Ada \u674e";
      bad.insert(posted[1].answerId);
      break;
    default:
      break;
  }
  if (row.fault == TFault::Foreign) {
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    before = file.readAll();
  }
  std::vector<std::string> good;
  {
    TAnswerPoster poster(path_.toStdString());
    if (row.fault == TFault::DamagedRows) {
      // Records no one can read, at the head of the queue.
      for (const char* id : {"garbled-1", "garbled-2"})
        ASSERT_TRUE(OnFile(QStringLiteral("INSERT INTO waiting (answer_id, destination, record)"
                                          " VALUES ('%1', '', '{not json')")
                               .arg(id)));
    }
    std::unique_ptr<TFullDisk> full;
    if (row.fault == TFault::FullAfterWaiting) {
      // Answers wait for a place that cannot be read, then the disk fills up.
      poster.SetUnreadable("no place yet");
      for (const TAnswerRecord& r : posted) {
        std::string notice;
        EXPECT_TRUE(poster.Post(r, notice)) << notice;
      }
      ASSERT_TRUE(poster.Finish(5000));
      EXPECT_EQ(InFile().size(), 3u);
      posted.clear();
      for (int n = 3; n < 5; ++n) posted.push_back(SampleAnswer(n, "Ada", row.name));
    }
    if (row.fault == TFault::FullDisk || row.fault == TFault::FullAfterWaiting)
      full = std::make_unique<TFullDisk>(0);
    poster.SetLocation(location_);
    int told = 0;
    for (const TAnswerRecord& r : posted) {
      std::string notice;
      poster.Post(r, notice);
      told += notice.find("only until Tarvolin ends") != std::string::npos;
      if (!bad.count(r.answerId)) good.push_back(r.answerId);
    }
    EXPECT_EQ(told, row.heldInMemory ? 1 : 0);
    // Later answers still go.
    EXPECT_TRUE(WaitStored(poster, good))
        << poster.Status().problem << " " << poster.Status().details;
    ASSERT_TRUE(poster.Finish(5000));
    QCoreApplication::processEvents();
    // What the student is shown is what the file holds. The disk has room again to read it
    // (a reader may need to make SQLite's shared-memory file); the round that failed waits
    // seconds before the next, so nothing in the file changes meanwhile.
    const TSendStatus status = poster.Status();
    full.reset();
    TAnswerOutbox file;
    TOutboxCounts counts;
    if (QFileInfo(path_).isFile() && file.Open(path_.toStdString(), TAnswerOutbox::TMode::Read)) {
      EXPECT_TRUE(file.Counts(location_.Address(), counts)) << file.Error();
    }
    EXPECT_EQ(status.counts, counts) << status.problem;
    // Whatever still waits, the round that left it says why.
    EXPECT_TRUE(status.waiting == 0 || !status.problem.empty());
    for (int i = 0; i < kSetAsideKinds; ++i) EXPECT_EQ(counts.setAside[i], row.setAside[i]) << i;
  }
  // Nothing posted is lost: each answer is in the store or still in the outbox file.
  const std::set<std::string> stored = Stored();
  const std::map<std::string, bool> inFile = InFile();
  for (const TAnswerRecord& r : posted)
    EXPECT_TRUE(stored.count(r.answerId) || inFile.count(r.answerId)) << r.answerId;
  if (row.fault == TFault::Foreign) {
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
  }
  if (row.fault == TFault::DamagedFile) {
    QFile aside(path_ + ".damaged");
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, OutboxFault, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Answers given for one class never go to another on their own: when the setting changes
// while they wait, the student is asked, and only Yes sends them to the new place.
class AnswerDestination : public ::testing::TestWithParam<int> {};

TEST_P(AnswerDestination, WaitingAnswersGoToANewPlaceOnlyWhenTheStudentSaysSo) {
  QTemporaryDir home, work;
  qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
  qputenv("XDG_DATA_HOME", home.path().toUtf8());
  qunsetenv(TResultsLocation::kEnvironment);
  const QString previous = QDir::currentPath();
  QDir::setCurrent(work.path());
  const QString server = "postgresql://ada@localhost:1/chem?connect_timeout=2";
  ASSERT_TRUE(TResultsSettings().SetServer(server));
  TResultsLocation given, file = TResultsLocation::File(TResultsLocation::kDefaultFile);
  ASSERT_TRUE(TResultsSettings().Location(given));
  {
    TAnswerPoster poster;
    poster.SetLocation(given);
    std::string notice;
    for (int n = 0; n < 2; ++n) poster.Post(SampleAnswer(n, "Ada", "given"), notice);
    ASSERT_TRUE(poster.Finish(10000));
    EXPECT_EQ(poster.Status().waiting, 2);
  }
  TDriver driver;
  driver
      .ExpectMessage(
          "2 answers on this computer wait for the place the results went to before. "
          "Send them to tarvolin-results.db instead?\n\nYes sends them there; No keeps "
          "them for the earlier place, where they go once the setting points there "
          "again.",
          "Answers waiting")
      .Answer(GetParam());
  {
    TResultsWindow window;
    QLineEdit* field = nullptr;
    for (QLineEdit* edit : window.findChildren<QLineEdit*>())
      if (edit->text() == server.left(server.indexOf('?')) || edit->text() == server) field = edit;
    ASSERT_NE(field, nullptr);
    field->clear();
    emit field->editingFinished();
  }
  driver.Verify();
  {
    TAnswerPoster poster;
    poster.SetLocation(file);
    std::string notice;
    poster.Post(SampleAnswer(2, "Ada", "now"), notice);
    ASSERT_TRUE(poster.Finish(10000));
    EXPECT_EQ(poster.Status().counts.elsewhere, GetParam() == IDYES ? 0 : 2);
  }
  TResultsStore store;
  ASSERT_TRUE(store.Open(file)) << store.Error();
  EXPECT_EQ(store.AnswerCount(), GetParam() == IDYES ? 3 : 1);
  {
    // Sent oldest first: the store took them in the order they were given.
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "sent");
    db.setDatabaseName(TResultsLocation::kDefaultFile);
    QSqlQuery query(db);
    EXPECT_TRUE(db.open() && query.exec("SELECT answer_id FROM answers ORDER BY rowid"));
    std::vector<std::string> sent;
    while (query.next()) sent.push_back(query.value(0).toString().toStdString());
    std::vector<std::string> inOrder{"given-Ada-0", "given-Ada-1", "now-Ada-2"};
    if (GetParam() == IDNO) inOrder = {"now-Ada-2"};
    EXPECT_EQ(sent, inOrder);
  }
  QSqlDatabase::removeDatabase("sent");
  QDir::setCurrent(previous);
}

INSTANTIATE_TEST_SUITE_P(Answers, AnswerDestination, ::testing::Values(IDYES, IDNO),
                         [](const auto& info) { return info.param == IDYES ? "Yes" : "No"; });

}  // namespace
