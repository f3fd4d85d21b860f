#pragma once
#include <memory>
#include <string>
#include <vector>

#include "results/results_location.h"
#include "results/results_summary.h"

// The figures the results window shows, read from a class server on a thread of their own, so
// that a slow server, or one whose tables another session holds locked, never stops the window
// while it reads again every few seconds. A teacher's reading first grades again the answers
// new since the last (TResultsStore::RegradeNewAnswers). A read still running when the reader
// goes ends by itself; its result is dropped.
class TFiguresReader {
 public:
  TFiguresReader();
  ~TFiguresReader();
  TFiguresReader(const TFiguresReader&) = delete;
  TFiguresReader& operator=(const TFiguresReader&) = delete;

  bool Busy() const;
  // Reads the students and the figures of student ("" for everyone) at location.
  void Start(const TResultsLocation& location, const std::string& student, int runs);
  // Once a read has ended: true with what it read, false when it could not read (a failed
  // read is taken too). False, with nothing taken, while it runs or when none was started.
  bool Take(bool& read, TResultsFigures& figures, std::vector<std::string>& students);

 private:
  struct TShared;
  std::shared_ptr<TShared> shared_;
};
