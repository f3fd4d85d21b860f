// The assignments' grid of a class of 30 students and 40 assignments over 36,000 answers, read
// from a results file and from a class server (one the bench starts), against reading the
// summaries the results window shows over the same answers. Arg 0: the file; 1: the server.
//   cmake --build build --target bench_assignment_grid && build/bench/bench_assignment_grid
// Measured on the two-core build machine (median of 5): file, grid 1.73 ms against summaries
// 0.87 ms; server, grid 85 ms against summaries 239 ms (wall time; the server does the work).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "results/answer_columns.h"
#include "results/assignment_grid.h"
#include "results/class_setup.h"
#include "results/results_store.h"
#include "results/results_window.h"
#include "tests/results/sample_answers.h"

namespace {

constexpr int kStudents = 30;
constexpr int kAssignments = 40;
constexpr int kQuestions = 30;  // each student gives 30 answers to each: 36,000 in all

std::string Student(int s) {
  return "s" + std::to_string(s);
}

// Her answers to one assignment: most of its questions, a few twice, one left with Quit.
std::vector<TAnswerRecord> AnswersOf(int s, int a) {
  std::vector<TAnswerRecord> answers;
  for (int q = 0; q < kQuestions; ++q) {
    const int n = (s * kAssignments + a) * kQuestions + q;
    TAnswerRecord r = SampleAnswer(n, Student(s), "g");
    r.login = Student(s);
    r.assignmentId = "as" + std::to_string(a);
    r.question = "Question " + std::to_string(q < 27 ? q : q - 27 + (s % 3));
    answers.push_back(r);
  }
  return answers;
}

TAssignment AssignmentNumber(int a) {
  TAssignment assignment{"as" + std::to_string(a),
                         "Homework " + std::to_string(a),
                         "2026-11-20T08:00:00Z",
                         "2026-11-01T08:00:00Z",
                         "tess",
                         false,
                         false,
                         0,
                         {}};
  for (int q = 0; q < kQuestions; ++q)
    assignment.reactions.push_back({"Question " + std::to_string(q), q % 5, {1, 2, 3}});
  return assignment;
}

class TClass {
 public:
  static TClass& Get(int backend) {
    static std::unique_ptr<TClass> classes[2];
    if (!classes[backend]) classes[backend] = std::make_unique<TClass>(backend == 1);
    return *classes[backend];
  }
  explicit TClass(bool server) {
    if (server ? MakeServer() : MakeFile())
      for (int a = 0; a < kAssignments; ++a) store_.WriteAssignment(AssignmentNumber(a));
  }
  ~TClass() {
    store_.Close();
    if (!address_.isEmpty()) QProcess::execute(TARVOLIN_PG_SCRIPT, {"stop", address_});
  }
  TResultsStore* Store() { return store_.IsOpen() ? &store_ : nullptr; }

 private:
  bool MakeFile() {
    // Made in memory and merged in one go, as the results window merges files.
    TResultsStore memory;
    memory.OpenInMemory();
    std::string why;
    for (int s = 0; s < kStudents; ++s)
      for (int a = 0; a < kAssignments; ++a)
        for (const TAnswerRecord& r : AnswersOf(s, a)) memory.Record(r, why);
    return store_.Open(TResultsLocation::File(dir_.filePath("results.db").toStdString())) &&
           store_.Merge(memory) == kStudents * kAssignments * kQuestions;
  }

  bool MakeServer() {
    address_ = dir_.filePath("address");
    QProcess::execute(TARVOLIN_PG_SCRIPT, {"start", address_});
    QFile file(address_);
    TResultsLocation location;
    if (!file.open(QIODevice::ReadOnly) ||
        !TResultsLocation::Parse(file.readAll().trimmed().toStdString(), location))
      return false;
    TClassSetup setup;
    if (!setup.Connect(location) || !setup.Setup()) return false;
    for (int s = 0; s < kStudents; ++s)
      if (!setup.AddLogin(Student(s), TClassSetup::TGroup::Students, nullptr)) return false;
    // Each answer as its student's login wrote it, in one transaction.
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "bench-fill");
      db.setHostName(QString::fromStdString(location.host));
      db.setPort(location.port);
      db.setUserName(QString::fromStdString(location.user));
      db.setDatabaseName(QString::fromStdString(location.database));
      if (!db.open() || !db.transaction() || !Fill(db)) return false;
      QSqlQuery(db).exec("ANALYZE");
      db.close();
    }
    QSqlDatabase::removeDatabase("bench-fill");
    return store_.Open(location);
  }

  static bool Fill(QSqlDatabase& db) {
    QSqlQuery answer(db), note(db);
    answer.prepare(QString::fromStdString("INSERT INTO tarvolin.answers (" + AnswerColumnNames() +
                                          ") VALUES (" + AnswerPlaceholders() + ")"));
    note.prepare("INSERT INTO tarvolin.coaching VALUES (?, ?, ?, ?)");
    for (int s = 0; s < kStudents; ++s)
      for (int a = 0; a < kAssignments; ++a)
        for (const TAnswerRecord& r : AnswersOf(s, a)) {
          int bound = 0;
          for (const TAnswerColumn& column : kAnswerColumns)
            answer.bindValue(bound++, column.Value(r));
          if (!answer.exec()) return false;
          for (std::size_t n = 0; n < r.coaching.size(); ++n) {
            note.bindValue(0, QString::fromStdString(r.answerId));
            note.bindValue(1, static_cast<int>(n));
            note.bindValue(
                2, QString::fromStdString(std::string(CoachingStepName(r.coaching[n].step))));
            note.bindValue(3, QString::fromStdString(r.coaching[n].substance));
            if (!note.exec()) return false;
          }
        }
    return db.commit();
  }

  QTemporaryDir dir_;
  QString address_;
  TResultsStore store_;
};

void BM_Grid(benchmark::State& state) {
  TResultsStore* store = TClass::Get(static_cast<int>(state.range(0))).Store();
  if (!store) return state.SkipWithError("the class could not be made");
  for (auto _ : state) {
    const TAssignmentGrid grid = ReadAssignmentGrid(*store);
    if (grid.students.size() != kStudents || grid.assignments.size() != kAssignments)
      return state.SkipWithError(("the grid is not whole: " + store->Error()).c_str());
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BM_Grid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the results window reads for everyone.
void BM_Summaries(benchmark::State& state) {
  TResultsStore* store = TClass::Get(static_cast<int>(state.range(0))).Store();
  if (!store) return state.SkipWithError("the class could not be made");
  for (auto _ : state) {
    benchmark::DoNotOptimize(store->Runs({}, TResultsWindow::kRunsShown));
    benchmark::DoNotOptimize(store->Types({}));
    benchmark::DoNotOptimize(store->Mistakes({}));
    benchmark::DoNotOptimize(store->MostMissed(10));
    benchmark::DoNotOptimize(store->Students());
  }
}
BENCHMARK(BM_Summaries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
