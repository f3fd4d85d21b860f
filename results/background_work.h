#pragma once
#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>

// The one way the results window runs work off its thread (reading figures, merging files,
// exporting, trying a server): the work runs on Qt's thread pool and reports now and then how
// far it got; Progress and Finished come back on the owner's thread by signals, nothing polls.
// Cancel makes the work's next report return false. The destructor cancels and waits, so that
// no work, nor the connection it holds, outlives its owner.
class TBackgroundWork : public QObject {
  Q_OBJECT

 public:
  // Called by the work with how much it did; false once cancelled: the work should stop.
  using TReport = std::function<bool(int64_t done)>;
  using TWork = std::function<void(const TReport&)>;

  explicit TBackgroundWork(QObject* parent = nullptr);
  ~TBackgroundWork() override;

  // False, starting nothing, while earlier work still runs.
  bool Start(TWork work);
  void Cancel();
  bool Busy() const { return busy_; }
  bool Cancelled() const { return cancelled_; }

 signals:
  // At most one waits to be delivered at a time, however often the work reports.
  void Progress(qint64 done);
  // Cancelled or not, the work has ended and what it wrote may be read.
  void Finished();

 private:
  QFuture<void> future_;
  QFutureWatcher<void> watcher_;
  bool busy_ = false;
  std::atomic<bool> cancelled_{false};
  std::atomic<int64_t> done_{0};
  std::atomic<bool> progressPending_{false};
};
