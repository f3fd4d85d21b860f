#include "results/progress_run.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <algorithm>

#include "results/background_work.h"

bool TProgressRun::Run(QWidget* owner, const QString& label, int64_t total,
                       const std::function<void(const TReport&)>& work) {
  constexpr int kSteps = 1000;
  TBackgroundWork background;
  QProgressDialog dialog(label, "Cancel", 0, total > 0 ? kSteps : 0, owner);
  dialog.setWindowModality(Qt::WindowModal);
  // Quick work shows no dialog at all.
  dialog.setMinimumDuration(400);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  // Starts the dialog's clock: without a first value Qt waits its own four seconds to show it.
  dialog.setValue(0);
  QEventLoop loop;
  QObject::connect(&background, &TBackgroundWork::Finished, &loop, &QEventLoop::quit);
  QObject::connect(&dialog, &QProgressDialog::canceled, &background, &TBackgroundWork::Cancel);
  QObject::connect(&background, &TBackgroundWork::Progress, &dialog, [&](qint64 done) {
    if (total > 0)
      dialog.setValue(static_cast<int>(std::min<int64_t>(kSteps, done * kSteps / total)));
  });
  background.Start(work);
  loop.exec();
  return !background.Cancelled();
}
