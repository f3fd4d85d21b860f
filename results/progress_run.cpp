#include "results/progress_run.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <thread>

bool TProgressRun::Run(QWidget* owner, const QString& label, int64_t total,
                       const std::function<void(const TReport&)>& work) {
  constexpr int kSteps = 1000;
  std::atomic<int64_t> done{0};
  std::atomic<bool> cancelled{false};
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    work([&](int64_t n) {
      done = n;
      return !cancelled.load();
    });
    finished = true;
  });
  QProgressDialog dialog(label, "Cancel", 0, total > 0 ? kSteps : 0, owner);
  dialog.setWindowModality(Qt::WindowModal);
  // Quick work shows no dialog at all.
  dialog.setMinimumDuration(400);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(40);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (dialog.wasCanceled()) cancelled = true;
    if (finished) {
      loop.quit();
      return;
    }
    if (total > 0)
      dialog.setValue(static_cast<int>(std::min<int64_t>(kSteps, done * kSteps / total)));
    else
      dialog.setValue(0);
  });
  poll.start();
  if (!finished) loop.exec();
  worker.join();
  return !cancelled;
}
