#pragma once
#include <QObject>
#include <string>
#include <vector>

#include "results/background_work.h"
#include "results/results_location.h"
#include "results/results_summary.h"

// The figures the results window shows, read from a class server off the window's thread, so
// that a slow server, or one whose tables another session holds locked, never stops the window
// while it reads again every few seconds. A teacher's reading first grades again the answers
// new since the last (TResultsStore::RegradeNewAnswers). The reader's end waits for a read
// still running, whose connection is closed on the thread that made it.
// The time now in UTC as the answers keep it: "2026-12-08T10:02:03Z".
std::string NowUtc();

class TFiguresReader : public QObject {
  Q_OBJECT

 public:
  explicit TFiguresReader(QObject* parent = nullptr);

  bool Busy() const { return work_.Busy(); }
  // Reads the students and the figures of student ("" for everyone) at location; Ended
  // follows. Nothing is started while a read runs.
  void Start(const TResultsLocation& location, const std::string& student, int runs);
  // After Ended: true with what was read, false when it could not be read.
  bool Take(TResultsFigures& figures, std::vector<std::string>& students);

 signals:
  void Ended();

 private:
  TBackgroundWork work_;
  // Written by the read alone, read once it has ended.
  bool read_ = false;
  TResultsFigures figures_;
  std::vector<std::string> students_;
};
