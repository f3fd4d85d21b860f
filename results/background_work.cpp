#include "results/background_work.h"

#include <QtConcurrent/QtConcurrentRun>

TBackgroundWork::TBackgroundWork(QObject* parent) : QObject(parent) {
  connect(&watcher_, &QFutureWatcher<void>::finished, this, [this] {
    busy_ = false;
    emit Finished();
  });
}

TBackgroundWork::~TBackgroundWork() {
  cancelled_ = true;
  future_.waitForFinished();
}

bool TBackgroundWork::Start(TWork work) {
  if (busy_) return false;
  busy_ = true;
  cancelled_ = false;
  done_ = 0;
  future_ = QtConcurrent::run([this, work = std::move(work)] {
    work([this](int64_t done) {
      done_ = done;
      // Queued to the owner's thread; one at a time, so that a fast loop floods nothing.
      if (!progressPending_.exchange(true))
        QMetaObject::invokeMethod(
            this,
            [this] {
              progressPending_ = false;
              emit Progress(done_);
            },
            Qt::QueuedConnection);
      return !cancelled_.load();
    });
  });
  watcher_.setFuture(future_);
  return true;
}

void TBackgroundWork::Cancel() {
  cancelled_ = true;
}
