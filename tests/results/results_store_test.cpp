// The results store's rules, on SQLite and on PostgreSQL alike.
#include "results/results_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <map>
#include <set>

#include "results/answer_columns.h"
#include "results/class_setup.h"
#include "tests/results/results_backend.h"
#include "tests/results/sample_answers.h"
#include "tests/support/has_text.h"

namespace {

std::vector<TAnswerRecord> All(TResultsStore& store) {
  std::vector<TAnswerRecord> answers;
  EXPECT_TRUE(store.ReadAnswers([&](const TAnswerRecord& r) {
    answers.push_back(r);
    return true;
  })) << store.Error();
  return answers;
}

QByteArray Bytes(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The summaries worked out afresh from the answers, to hold the kept ones against.
struct TExpected {
  std::map<int, TTypeRow> types;
  std::map<int, std::array<int, kCoachingStepCount>> steps;
  std::map<std::string, std::pair<int, int>> runs;  // earned, possible
  std::map<std::string, int> missed;
};

TExpected Expect(const std::vector<TAnswerRecord>& answers, const std::string& student = {}) {
  TExpected e;
  for (const TAnswerRecord& r : answers) {
    if (!student.empty() && r.student != student) continue;
    auto& run = e.runs[r.runId];
    if (r.ending == TEnding::Quit) continue;
    run.first += r.finalScore;
    run.second += 3;
    TTypeRow& type = e.types[r.questionType];
    type.type = r.questionType;
    ++type.answered;
    type.firstPoints += r.firstScore;
    type.finalPoints += r.finalScore;
    type.possible += 3;
    for (const TCoachingNote& note : r.coaching) ++e.steps[r.questionType][int(note.step)];
    if (r.firstScore < 3) ++e.missed[r.question];
  }
  return e;
}

// shown: the student as the store names them, when not as recorded.
void ExpectSummaries(TResultsStore& store, const std::vector<TAnswerRecord>& answers,
                     const std::string& student = {}, std::string shown = {}) {
  const TExpected e = Expect(answers, student);
  if (shown.empty()) shown = student;
  const std::vector<TTypeRow> types = store.Types(shown);
  ASSERT_EQ(types.size(), e.types.size());
  for (const TTypeRow& row : types) {
    const TTypeRow& want = e.types.at(row.type);
    EXPECT_EQ(row.answered, want.answered) << row.type;
    EXPECT_EQ(row.firstPoints, want.firstPoints) << row.type;
    EXPECT_EQ(row.finalPoints, want.finalPoints) << row.type;
    EXPECT_EQ(row.possible, want.possible) << row.type;
  }
  const std::vector<TMistakeRow> mistakes = store.Mistakes(shown);
  ASSERT_EQ(mistakes.size(), e.steps.size());
  for (const TMistakeRow& row : mistakes)
    for (int step = 0; step < kCoachingStepCount; ++step)
      EXPECT_EQ(row.times[step], e.steps.at(row.type)[step]) << row.type << " " << step;
  const std::vector<TRunRow> runs = store.Runs(shown, 1000);
  EXPECT_EQ(runs.size(), e.runs.size());
  int earned = 0, possible = 0;
  for (const TRunRow& run : runs) earned += run.earned, possible += run.possible;
  int wantEarned = 0, wantPossible = 0;
  for (const auto& [id, run] : e.runs) wantEarned += run.first, wantPossible += run.second;
  EXPECT_EQ(earned, wantEarned);
  EXPECT_EQ(possible, wantPossible);
  if (!student.empty()) return;
  const std::vector<TMissedRow> missed = store.MostMissed(10);
  ASSERT_EQ(missed.size(), std::min<std::size_t>(10, e.missed.size()));
  for (std::size_t i = 0; i < missed.size(); ++i) {
    EXPECT_EQ(missed[i].missed, e.missed.at(missed[i].question));
    if (i > 0) {
      EXPECT_GE(missed[i - 1].missed, missed[i].missed);
    }
  }
}

class ResultsStore : public ::testing::TestWithParam<TBackend> {
 protected:
  TBackendPlace place_{GetParam()};
  bool sqlite_ = GetParam() == TBackend::Sqlite;
};

TEST_P(ResultsStore, EveryFieldOfEveryAnswerComesBackAsRecorded) {
  SKIP_WITHOUT_BACKEND(place_);
  std::vector<TAnswerRecord> answers;
  for (int n = 0; n < 5; ++n) answers.push_back(SampleAnswer(n));
  // Texts beyond ASCII, and the four coaching steps in an order of their own.
  answers[1].question = "Zinc in copper(II) sulfate → “Cu” and Zn²⁺, naïvely";
  answers[1].student = "Zoë O'Brien, \"the second\"";
  answers[1].coaching = {{TCoachingStep::MissingSubstance, "SO4^2-"},
                         {TCoachingStep::OxidationNumber, "Fe3+"},
                         {TCoachingStep::WrongSubstance, "Na+"},
                         {TCoachingStep::Dissociation, "AgNO3"},
                         {TCoachingStep::OxidationNumber, "Fe3+"}};
  TResultsStore store;
  ASSERT_TRUE(store.Open(place_.NewLocation())) << store.Error();
  for (const TAnswerRecord& r : answers) {
    std::string why;
    ASSERT_TRUE(store.Record(r, why)) << why;
  }
  std::vector<TAnswerRecord> read = All(store);
  std::sort(read.begin(), read.end(),
            [](const auto& a, const auto& b) { return a.answerId < b.answerId; });
  // A class server keeps the login it knows the writer by, not the one the record names.
  if (!sqlite_)
    for (TAnswerRecord& r : answers) r.login = store.Login();
  EXPECT_EQ(read, answers);
  EXPECT_EQ(store.SchemaVersion(), TResultsStore::kSchemaVersion);
  // And the assignments: their reactions' records byte for byte, a change of title, due date
  // and withdrawal kept, the reactions given first kept whatever a later write carries.
  TAssignment set{"as-1",
                  "Tonight",
                  "2026-11-03T08:00:00Z",
                  "2026-11-02T12:00:00Z",
                  "tess",
                  true,
                  false,
                  0,
                  {{answers[1].question, 2, {0, 0xff, '\'', 7}}, {"Q2", 4, {}}}};
  TAssignment practice{
      "as-2", "Practice", "2026-11-04T08:00:00Z", "2026-11-02T13:00:00Z", "tess", false, false,
      8,      {}};
  ASSERT_TRUE(store.WriteAssignment(set) && store.WriteAssignment(practice)) << store.Error();
  TAssignment changed = set;
  changed.title = "Tonight's, changed";
  changed.due = "2026-11-05T08:00:00Z";
  changed.withdrawn = true;
  changed.reactions.pop_back();
  ASSERT_TRUE(store.WriteAssignment(changed)) << store.Error();
  changed.reactions = set.reactions;
  if (!sqlite_) changed.teacher = practice.teacher = store.Login();
  EXPECT_EQ(store.Assignments(), (std::vector<TAssignment>{changed, practice}));
}

TEST_P(ResultsStore, SummariesAgreeWithTheAnswersForEveryoneAndEachStudent) {
  SKIP_WITHOUT_BACKEND(place_);
  TResultsStore store;
  ASSERT_TRUE(store.Open(place_.NewLocation())) << store.Error();
  std::vector<TAnswerRecord> answers;
  for (int n = 0; n < 60; ++n) answers.push_back(SampleAnswer(n, n % 3 ? "Ada" : "Grace"));
  for (const TAnswerRecord& r : answers) {
    std::string why;
    ASSERT_TRUE(store.Record(r, why)) << why;
  }
  ExpectSummaries(store, answers);
  // A class server names each student with the login it knows them by.
  const std::string login = sqlite_ ? "" : " (" + store.Login() + ")";
  ExpectSummaries(store, answers, "Grace", "Grace" + login);
  EXPECT_EQ(store.Students(), (std::vector<std::string>{"Ada" + login, "Grace" + login}));
  // The trend: first tries of the last fortnight and the one before, and those that needed each
  // kind of coaching, counted once an answer.
  TAnswerRecord twice = SampleAnswer(61, "Grace");
  twice.coaching = {{TCoachingStep::OxidationNumber, "Fe3+"},
                    {TCoachingStep::OxidationNumber, "Fe2+"}};
  TAnswerRecord later = SampleAnswer(62, "Grace");
  later.answeredAt = "2026-11-20T00:00:00Z";  // after the time the trend is read for
  std::string kept;
  for (const TAnswerRecord& r : {twice, later}) {
    ASSERT_TRUE(store.Record(r, kept)) << kept;
    answers.push_back(r);
  }
  for (const std::string student : {"", "Grace"}) {
    TMistakeTrend expected;
    for (const TAnswerRecord& r : answers) {
      if (r.ending == TEnding::Quit || (!student.empty() && r.student != student) ||
          r.answeredAt > "2026-11-15T00:00:30Z")
        continue;
      const int period = r.answeredAt >= "2026-11-01T00:00:30Z" ? 0 : 1;
      ++expected.tries[period];
      std::set<TCoachingStep> steps;
      for (const TCoachingNote& note : r.coaching)
        if (steps.insert(note.step).second) ++expected.needed[period][static_cast<int>(note.step)];
    }
    EXPECT_EQ(store.Trend(student.empty() ? student : student + login, "2026-11-15T00:00:30Z"),
              expected)
        << student;
  }
  // The most common first answer of a missed question is the one given most often.
  std::string why;
  TAnswerRecord odd = SampleAnswer(2);
  for (int i = 0; i < 3; ++i) {
    odd.answerId = "odd" + std::to_string(i);
    odd.firstAnswer = "Ag + Cl -> AgCl";
    ASSERT_TRUE(store.Record(odd, why)) << why;
  }
  for (const TMissedRow& row : store.MostMissed(10))
    if (row.question == odd.question) {
      EXPECT_EQ(row.commonWrongAnswer, "Ag + Cl -> AgCl");
    }
}

TEST_P(ResultsStore, TwoFilesWithSharedAnswersAreShownWithEachAnswerOnce) {
  SKIP_WITHOUT_BACKEND(place_);
  TResultsStore first, second;
  ASSERT_TRUE(first.Open(place_.NewLocation())) << first.Error();
  ASSERT_TRUE(second.Open(place_.NewLocation())) << second.Error();
  std::vector<TAnswerRecord> answers;
  for (int n = 0; n < 30; ++n) answers.push_back(SampleAnswer(n, n % 2 ? "Ada" : "Grace"));
  std::string why;
  for (int n = 0; n < 20; ++n) ASSERT_TRUE(first.Record(answers[n], why)) << why;
  for (int n = 10; n < 30; ++n) ASSERT_TRUE(second.Record(answers[n], why)) << why;
  const TAssignment given{"m-1", "Merged", "d", "a", second.Login(), false, false, 3, {}};
  ASSERT_TRUE(second.WriteAssignment(given)) << second.Error();

  TResultsStore merged;
  ASSERT_TRUE(merged.OpenInMemory());
  // Cancel leaves nothing behind.
  EXPECT_EQ(merged.Merge(first, [](int64_t) { return false; }), -1);
  EXPECT_EQ(merged.AnswerCount(), 0);
  EXPECT_EQ(merged.Merge(first), 20);
  EXPECT_EQ(merged.Merge(second), 10);
  EXPECT_EQ(merged.Merge(first), 0);  // the same file opened twice
  EXPECT_EQ(merged.AnswerCount(), 30);
  EXPECT_EQ(merged.Assignments(), std::vector<TAssignment>{given});
  ExpectSummaries(merged, answers);
  ExpectSummaries(merged, answers, "Ada");
}

TEST_P(ResultsStore, ClearEmptiesTheAnswersAndEverySummary) {
  SKIP_WITHOUT_BACKEND(place_);
  TResultsStore store;
  ASSERT_TRUE(store.Open(place_.NewLocation())) << store.Error();
  std::string why;
  for (int n = 0; n < 12; ++n) ASSERT_TRUE(store.Record(SampleAnswer(n), why)) << why;
  ASSERT_TRUE(store.Clear()) << store.Error();
  EXPECT_EQ(store.AnswerCount(), 0);
  EXPECT_TRUE(store.Runs({}, 10).empty());
  EXPECT_TRUE(store.Types({}).empty());
  EXPECT_TRUE(store.Mistakes({}).empty());
  EXPECT_TRUE(store.MostMissed(10).empty());
  // And it goes on keeping answers afterwards.
  ASSERT_TRUE(store.Record(SampleAnswer(1), why)) << why;
  ExpectSummaries(store, {SampleAnswer(1)});
}

// A store an earlier version wrote is brought up to this version only when it is written (a
// file by the program, a class server by tarvolin-class setup), and keeps every answer.
TEST_P(ResultsStore, AnEarlierVersionsStoreIsUpgradedOnlyWhenWrittenAndKeepsEveryAnswer) {
  SKIP_WITHOUT_BACKEND(place_);
  const TResultsLocation location = place_.NewLocation();
  {
    TResultsStore store;
    ASSERT_TRUE(store.Open(location)) << store.Error();
    std::string why;
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(store.Record(SampleAnswer(n), why)) << why;
  }
  // What version 1 had: none of the later columns and tables.
  for (const char* statement :
       {"DROP INDEX answers_by_assignment", "DROP TABLE assignment_reactions",
        "DROP TABLE assignments", "DROP TABLE IF EXISTS assignment_firsts",
        "DROP TABLE IF EXISTS assignment_summary"})
    ASSERT_TRUE(TBackendPlace::Execute(location, statement));
  for (const TAnswerColumn& column : kAnswerColumns) {
    if (HeldIn(column, 1)) continue;
    ASSERT_TRUE(TBackendPlace::Execute(location, QString("ALTER TABLE answers DROP COLUMN %1%2")
                                                     .arg(column.name, sqlite_ ? "" : " CASCADE")));
  }
  ASSERT_TRUE(TBackendPlace::Execute(
      location, "UPDATE tarvolin_meta SET value = '1' WHERE name = 'schema_version'"));
  const QByteArray before = sqlite_ ? Bytes(location.file) : QByteArray();
  {
    TResultsStore looked;
    ASSERT_TRUE(looked.Open(location, TResultsStore::TMode::ReadOnly)) << looked.Error();
    EXPECT_EQ(looked.SchemaVersion(), 1);
    EXPECT_EQ(looked.AnswerCount(), 3);
  }
  if (sqlite_) {
    EXPECT_EQ(Bytes(location.file), before);
  }
  TClassSetup setup;
  if (!sqlite_) {
    ASSERT_TRUE(setup.Connect(location) && setup.Setup()) << setup.Error();
  }
  TResultsStore store;
  ASSERT_TRUE(store.Open(location)) << store.Error();
  EXPECT_EQ(store.SchemaVersion(), TResultsStore::kSchemaVersion);
  EXPECT_FALSE(store.IsReadOnly());
  ASSERT_EQ(All(store).size(), 3u);
  // And the upgraded store keeps the later fields.
  std::string why;
  ASSERT_TRUE(store.Record(SampleAnswer(3), why)) << why;
  TAnswerRecord expected = SampleAnswer(3);
  if (!sqlite_) expected.login = store.Login();
  EXPECT_EQ(All(store).back(), expected);
  TAssignment given{"up-1",
                    "After the upgrade",
                    "2026-11-03T08:00:00Z",
                    "2026-11-02T12:00:00Z",
                    store.Login(),
                    false,
                    false,
                    0,
                    {{"Q", 1, {1}}}};
  ASSERT_TRUE(store.WriteAssignment(given)) << store.Error();
  EXPECT_EQ(store.Assignments(), std::vector<TAssignment>{given});
}

TEST_P(ResultsStore, ANewerVersionsStoreIsShownButNeverWritten) {
  SKIP_WITHOUT_BACKEND(place_);
  const TResultsLocation location = place_.NewLocation();
  {
    TResultsStore store;
    ASSERT_TRUE(store.Open(location)) << store.Error();
    std::string why;
    ASSERT_TRUE(store.Record(SampleAnswer(0), why)) << why;
  }
  const int newer = TResultsStore::kSchemaVersion + 1;
  ASSERT_TRUE(TBackendPlace::Execute(
      location,
      QStringLiteral("UPDATE tarvolin_meta SET value = '%1' WHERE name = 'schema_version'")
          .arg(newer)));
  const QByteArray before = sqlite_ ? Bytes(location.file) : QByteArray();

  TResultsStore store;
  ASSERT_TRUE(store.Open(location)) << store.Error();
  EXPECT_TRUE(store.IsReadOnly());
  EXPECT_EQ(store.SchemaVersion(), newer);
  EXPECT_TRUE(HasText(store.Notice(), "newer version of Tarvolin")) << store.Notice();
  EXPECT_EQ(All(store).size(), 1u);
  std::string why;
  EXPECT_FALSE(store.Record(SampleAnswer(1), why));
  EXPECT_TRUE(HasText(why, "Your answers are not being kept")) << why;
  EXPECT_TRUE(HasText(why, "newer version")) << why;
  EXPECT_FALSE(store.Clear());
  EXPECT_EQ(store.AnswerCount(), 1);
  if (sqlite_) {
    EXPECT_EQ(Bytes(location.file), before);
  }
}

// A lab machine switched off while writing: the answer being written may be lost, never the
// file, and the summaries always agree with the answers kept.
TEST_P(ResultsStore, AWriterKilledMidWriteLosesAtMostTheAnswerItWasWriting) {
  SKIP_WITHOUT_BACKEND(place_);
  const TResultsLocation location = place_.NewLocation();
  std::string address = location.file;
  if (!sqlite_) {
    address = "postgresql://" + location.user + "@/" + location.database +
              "?host=" + location.host + "&port=" + std::to_string(location.port);
  }
  int64_t before = 0;
  for (int kill = 0; kill < 4; ++kill) {
    QProcess writer;
    // Each round a student of its own, so that the answer ids never repeat.
    writer.start(WriterProgram(), {QString::fromStdString(address), "100000",
                                   QStringLiteral("student%1").arg(kill)});
    ASSERT_TRUE(writer.waitForStarted());
    // Until a few answers are in, then at a random moment.
    QByteArray out;
    while (out.count('\n') < 3 && writer.waitForReadyRead(10000))
      out += writer.readAllStandardOutput();
    QThread::msleep(QRandomGenerator::global()->bounded(5, 60));
    writer.kill();
    writer.waitForFinished();
    out += writer.readAllStandardOutput();
    const QList<QByteArray> lines = out.trimmed().split('\n');
    ASSERT_FALSE(lines.isEmpty());
    const int64_t confirmed = before + lines.last().toLongLong();
    // The server finishes a commit that the killed writer had sent after the kill; counted
    // before then, that answer would fall into the next round.
    if (!sqlite_) {
      ASSERT_TRUE(TBackendPlace::WaitForOtherClients(location));
    }
    TResultsStore store;
    ASSERT_TRUE(store.Open(location)) << store.Error();
    const int64_t kept = store.AnswerCount();
    EXPECT_GE(kept, confirmed);
    EXPECT_LE(kept, confirmed + 1);
    before = kept;
    ExpectSummaries(store, All(store));
    if (sqlite_) {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "integrity");
      db.setDatabaseName(QString::fromStdString(location.file));
      ASSERT_TRUE(db.open());
      QSqlQuery check(db);
      ASSERT_TRUE(check.exec("PRAGMA integrity_check") && check.next());
      EXPECT_EQ(check.value(0).toString(), "ok");
      check.finish();
      db.close();
      db = QSqlDatabase();
      QSqlDatabase::removeDatabase("integrity");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, ResultsStore,
                         ::testing::Values(TBackend::Sqlite, TBackend::Postgresql), BackendName);

// What cannot be kept is said, and the file is left as it was.

TEST(ResultsStoreFailures, ADamagedFileIsReportedAndLeftAsItIs) {
  TBackendPlace place(TBackend::Sqlite);
  const TResultsLocation location = place.NewLocation();
  QByteArray garbage(4096, '\0');
  for (int i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7 + 3);
  {
    QFile file(QString::fromStdString(location.file));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
  }
  TResultsStore store;
  EXPECT_FALSE(store.Open(location));
  EXPECT_TRUE(HasText(store.Error(), "cannot be opened")) << store.Error();
  store.SetLocation(location);
  std::string why;
  EXPECT_FALSE(store.Record(SampleAnswer(0), why));
  EXPECT_EQ(why.rfind("Your answers are not being kept: " + location.file, 0), 0u) << why;
  EXPECT_EQ(Bytes(location.file), garbage);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(location.file) + "-journal"));
}

TEST(ResultsStoreFailures, AFileThatCannotBeWrittenIsReportedAndLeftAsItIs) {
  TBackendPlace place(TBackend::Sqlite);
  const TResultsLocation location = place.NewLocation();
  {
    TResultsStore store;
    ASSERT_TRUE(store.Open(location));
    std::string why;
    ASSERT_TRUE(store.Record(SampleAnswer(0), why)) << why;
  }
  const QByteArray before = Bytes(location.file);
  // Permissions do not hold back root, so then the writer runs as an ordinary account.
  QFile::setPermissions(place.Folder().path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                   QFileDevice::ReadOther | QFileDevice::ExeOther);
  QFile::setPermissions(QString::fromStdString(location.file),
                        QFileDevice::ReadOwner | QFileDevice::ReadOther);
  QProcess writer;
  if (geteuid() == 0)
    writer.start("runuser", {"-u", "nobody", "--", WriterProgram(),
                             QString::fromStdString(location.file), "1", "late"});
  else
    writer.start(WriterProgram(), {QString::fromStdString(location.file), "1", "late"});
  ASSERT_TRUE(writer.waitForFinished(30000));
  const QString out = QString::fromUtf8(writer.readAllStandardOutput());
  EXPECT_EQ(writer.exitCode(), 1) << out.toStdString();
  EXPECT_TRUE(out.startsWith("Your answers are not being kept: " +
                             QString::fromStdString(location.file) + " cannot be written"))
      << out.toStdString();
  EXPECT_EQ(Bytes(location.file), before);
  QFile::setPermissions(place.Folder().path(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(ResultsStoreFailures, AServerThatCannotBeReachedIsReported) {
  TResultsLocation location;
  ASSERT_TRUE(
      TResultsLocation::Parse("postgresql://nobody@/none?host=/nonexistent-folder", location));
  TResultsStore store;
  store.SetLocation(location);
  std::string why;
  EXPECT_FALSE(store.Record(SampleAnswer(0), why));
  EXPECT_EQ(why,
            "Your answers are not being kept: the class server at /nonexistent-folder:5432 "
            "is not running. The quiz goes on.");
}

}  // namespace

namespace {

// A class of thirty answering at once, each lab machine a process of its own writing to one
// server: every answer is kept and the summaries agree. Prints how long the class took.
TEST(ResultsServer, ThirtyStudentsAnsweringAtOnceAreAllKept) {
  TBackendPlace place(TBackend::Postgresql);
  SKIP_WITHOUT_BACKEND(place);
  const TResultsLocation location = place.NewLocation();
  {
    TResultsStore store;  // the tables, set up once as the teacher's first start would
    ASSERT_TRUE(store.Open(location)) << store.Error();
  }
  const QString address =
      QString::fromStdString("postgresql://" + location.user + "@/" + location.database +
                             "?host=" + location.host + "&port=" + std::to_string(location.port));
  constexpr int kStudents = 30;
  constexpr int kAnswers = 20;
  std::vector<std::unique_ptr<QProcess>> writers;
  QElapsedTimer timer;
  timer.start();
  for (int s = 0; s < kStudents; ++s) {
    writers.push_back(std::make_unique<QProcess>());
    writers.back()->start(WriterProgram(),
                          {address, QString::number(kAnswers), QStringLiteral("student%1").arg(s)});
  }
  for (auto& writer : writers) {
    ASSERT_TRUE(writer->waitForFinished(120000));
    EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardOutput().toStdString();
  }
  const qint64 elapsed = timer.elapsed();
  std::printf("30 students x %d answers at once: %lld ms in all, %.1f ms an answer\n", kAnswers,
              static_cast<long long>(elapsed), double(elapsed) / kAnswers);
  RecordProperty("class_of_30_ms", static_cast<int>(elapsed));
  TResultsStore store;
  ASSERT_TRUE(store.Open(location)) << store.Error();
  EXPECT_EQ(store.AnswerCount(), kStudents * kAnswers);
  ExpectSummaries(store, All(store));
  EXPECT_EQ(store.Students().size(), static_cast<std::size_t>(kStudents));
}

}  // namespace
