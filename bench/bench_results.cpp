// The results store with 100 and with 100,000 answers kept (a SQLite file, as in the working
// folder): recording one more answer, and opening the store and reading every summary the
// results window shows.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

#include "results/results_store.h"
#include "results/summary_queries.h"
#include "results/results_window.h"
#include "tests/results/sample_answers.h"

namespace {

// A results file holding count answers, made once per count.
std::string FileWith(int count) {
  static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
  auto& folder = folders[count];
  if (folder) return folder->filePath("results.db").toStdString();
  folder = std::make_unique<QTemporaryDir>();
  const std::string file = folder->filePath("results.db").toStdString();
  // Made in memory and written in one go: a hundred thousand single writes would take long.
  TResultsStore memory;
  memory.OpenInMemory();
  std::string why;
  for (int n = 0; n < count; ++n)
    memory.Record(SampleAnswer(n, "student" + std::to_string(n / 100 % 30)), why);
  TResultsStore store;
  store.Open(TResultsLocation::File(file));
  store.Merge(memory);
  return file;
}

void BM_RecordAnswer(benchmark::State& state) {
  TResultsStore store;
  if (!store.Open(TResultsLocation::File(FileWith(static_cast<int>(state.range(0)))))) {
    state.SkipWithError(store.Error().c_str());
    return;
  }
  static int next = 0;
  std::string why;
  for (auto _ : state) {
    if (!store.Record(SampleAnswer(++next, "bench", "b" + std::to_string(state.range(0))), why)) {
      state.SkipWithError(why.c_str());
      break;
    }
  }
}
BENCHMARK(BM_RecordAnswer)->Arg(100)->Arg(100000)->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_OpenSummaries(benchmark::State& state) {
  const std::string file = FileWith(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TResultsStore store;
    store.Open(TResultsLocation::File(file));
    benchmark::DoNotOptimize(store.Runs({}, TResultsWindow::kRunsShown));
    benchmark::DoNotOptimize(store.Types({}));
    benchmark::DoNotOptimize(store.Mistakes({}));
    benchmark::DoNotOptimize(store.MostMissed(10));
    benchmark::DoNotOptimize(store.Students());
  }
}
BENCHMARK(BM_OpenSummaries)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

// Open... of a large file: its answers merged in bulk into a file of the window's own.
std::string BulkFile(int count) {
  static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
  auto& folder = folders[count];
  const std::string file = (folder ? *folder : *(folder = std::make_unique<QTemporaryDir>()))
                               .filePath("lab.db")
                               .toStdString();
  if (QFile::exists(QString::fromStdString(file))) return file;
  { TResultsStore made; made.Open(TResultsLocation::File(file)); }
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bulk");
  db.setDatabaseName(QString::fromStdString(file));
  db.open();
  QSqlQuery query(db);
  query.exec(QStringLiteral(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
      " INSERT INTO answers SELECT 'a-' || i, 'run-' || (i / 10), '2026-11-01T08:00:00Z',"
      " printf('2026-11-01T%06d', i), 'student' || (i % 30), 'lab', 'Precipitation', 1 + i % 40,"
      " 'Question ' || (i % 40), i % 5, 'Ag+ + Cl- -> AgCl', 'AgNO3 + NaCl -> AgCl',"
      " 'Ag+ + Cl- -> AgCl', i % 4, 3, 'right after coaching', 5 FROM n").arg(count));
  query.exec("INSERT INTO coaching SELECT answer_id, 0, 'dissociation', 'AgNO3' FROM answers");
  for (const TSummaryQuery& summary : kSummaryQueries)
    query.exec(QStringLiteral("INSERT INTO %1 %2")
                   .arg(summary.table, QString::fromStdString(SummarySelect(summary, false))));
  query.finish();
  db.close();
  db = QSqlDatabase();
  QSqlDatabase::removeDatabase("bulk");
  return file;
}

// Open... of one file: read as it lies, its own summaries shown.
void BM_OpenOneFile(benchmark::State& state) {
  const std::string file = BulkFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TResultsStore lab;
    if (!lab.Open(TResultsLocation::File(file), TResultsStore::TMode::ReadOnly))
      state.SkipWithError(lab.Error().c_str());
    benchmark::DoNotOptimize(lab.Runs({}, TResultsWindow::kRunsShown));
    benchmark::DoNotOptimize(lab.Types({}));
    benchmark::DoNotOptimize(lab.Mistakes({}));
    benchmark::DoNotOptimize(lab.MostMissed(10));
    benchmark::DoNotOptimize(lab.Students());
  }
}
BENCHMARK(BM_OpenOneFile)->Arg(1000)->Arg(500000)->Unit(benchmark::kMillisecond);

// Open... of several files: each merged in bulk into a file of the window's own.
void BM_MergeIntoScratch(benchmark::State& state) {
  const std::string file = BulkFile(static_cast<int>(state.range(0)));
  int n = 0;
  for (auto _ : state) {
    QTemporaryDir into;
    TResultsStore merged, lab;
    merged.Open(TResultsLocation::File(into.filePath(QString::number(++n)).toStdString()));
    merged.UseAsScratch();
    lab.Open(TResultsLocation::File(file), TResultsStore::TMode::ReadOnly);
    if (merged.Merge(lab) != state.range(0)) state.SkipWithError(merged.Error().c_str());
  }
}
BENCHMARK(BM_MergeIntoScratch)->Arg(1000)->Arg(500000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
