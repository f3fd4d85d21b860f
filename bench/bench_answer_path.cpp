// From Check to the next dialog: the answer handed on (kept in the outbox, sent off the
// window's thread) and the next question's answer dialog made and shown, with no results
// store, with a results file, and with a class server whose answers table another session
// holds locked for 30 seconds. The quiz must not wait for the store: the last two stay
// within 1.5 times the first.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "keypad/equation_dialog.h"
#include "model/reaction.h"
#include "results/answer_poster.h"
#include "results/class_setup.h"
#include "tests/results/sample_answers.h"

namespace {

enum TStore { kNone, kFile, kLockedServer };

// A server of the bench's own, set up for Tarvolin, with its answers table locked for 30 s.
class TLockedServer {
 public:
  TLockedServer() {
    QProcess::execute(TARVOLIN_PG_SCRIPT, {"start", file_});
    QFile address(file_);
    if (!address.open(QIODevice::ReadOnly)) return;
    TResultsLocation::Parse(address.readAll().trimmed().toStdString(), location_);
    TClassSetup setup;
    if (!setup.Connect(location_) || !setup.Setup()) return;
    locker_ = QSqlDatabase::addDatabase("QPSQL", "locker");
    locker_.setHostName(QString::fromStdString(location_.host));
    locker_.setPort(location_.port);
    locker_.setUserName(QString::fromStdString(location_.user));
    locker_.setDatabaseName(QString::fromStdString(location_.database));
    if (!locker_.open() || !locker_.transaction()) return;
    QSqlQuery lock(locker_);
    ready_ = lock.exec("LOCK TABLE tarvolin.answers IN ACCESS EXCLUSIVE MODE");
  }
  ~TLockedServer() {
    if (locker_.isOpen()) locker_.rollback();
    locker_.close();
    QProcess::execute(TARVOLIN_PG_SCRIPT, {"stop", file_});
  }
  bool Ready() const { return ready_; }
  const TResultsLocation& Location() const { return location_; }

 private:
  QTemporaryDir dir_;
  QString file_ = dir_.filePath("address");
  TResultsLocation location_;
  QSqlDatabase locker_;
  bool ready_ = false;
};

void BM_CheckToNextDialog(benchmark::State& state) {
  QTemporaryDir dir;
  std::unique_ptr<TLockedServer> server;
  std::unique_ptr<TAnswerPoster> poster;
  const auto store = static_cast<TStore>(state.range(0));
  if (store != kNone) {
    poster = std::make_unique<TAnswerPoster>(dir.filePath("outbox.db").toStdString());
    if (store == kFile) {
      poster->SetLocation(TResultsLocation::File(dir.filePath("results.db").toStdString()));
    } else {
      server = std::make_unique<TLockedServer>();
      if (!server->Ready()) {
        state.SkipWithError("no PostgreSQL server could be started");
        return;
      }
      poster->SetLocation(server->Location());
    }
  }
  TReaction reaction("Aqueous solutions of silver nitrate and sodium chloride are mixed.",
                     Precipitation);
  reaction.reactants[0] = {"Ag", 1};
  reaction.reactants[1] = {"Cl", -1};
  reaction.products[0] = {"AgCl", 0};
  int n = 0;
  for (auto _ : state) {
    if (poster) {
      std::string why;
      if (!poster->Post(SampleAnswer(n++, "bench", "p" + std::to_string(state.range(0))), why)) {
        state.SkipWithError(why.c_str());
        break;
      }
    }
    TEquationDialog next(nullptr, reaction,
                         [](TEquationDialog&) { return std::optional<TCheckResult>(); });
    next.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(next.isVisible());
  }
  state.SetLabel(store == kNone ? "no store" : store == kFile ? "results file" : "server locked");
}
BENCHMARK(BM_CheckToNextDialog)
    ->Arg(kNone)
    ->Arg(kFile)
    ->Arg(kLockedServer)
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);

}  // namespace
