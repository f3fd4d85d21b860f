// The results store with 100 and with 100,000 answers kept (a SQLite file, as in the working
// folder): recording one more answer, and opening the store and reading every summary the
// results window shows.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

#include "results/results_store.h"
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

}  // namespace
