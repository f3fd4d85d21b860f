#pragma once
#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

// Work that may take long (reading or merging a large results file) run off the window's thread,
// so that the window keeps drawing: after a moment a progress bar shows how far it got, with a
// Cancel. The work reports how much it did and stops when told to; it must not touch widgets.
class TProgressRun {
 public:
  // Called by the work now and then with how much it did; false when the user cancelled.
  using TReport = std::function<bool(int64_t done)>;

  // Runs work and returns when it has ended; false when the user cancelled. total (how much
  // will be done) may be 0 when it is not known.
  static bool Run(QWidget* owner, const QString& label, int64_t total,
                  const std::function<void(const TReport&)>& work);
};
