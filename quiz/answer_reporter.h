#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "coach/coaching_listener.h"
#include "keypad/equation_dialog.h"
#include "results/answer_record.h"
#include "results/answer_sink.h"

class TEquation;
class TQuizRun;
class TResultsStore;

// Follows one question from the answer dialog to its end and reports it to the quiz run: the
// student's first answer and its score, the coaching dialogs that opened, the final answer and
// score, how the question ended and the seconds it took. Keeps the results store, opened on
// the first answer, for the quiz view, and is the quiz run's sink in front of it.
class TAnswerReporter : public TCoachingListener, public TAnswerSink {
 public:
  TAnswerReporter();
  ~TAnswerReporter() override;

  // The check the answer dialog runs: the given one, watched.
  TEquationDialog::TCheck Watch(TEquationDialog::TCheck check);

  void BeginQuestion();
  // Builds the question's record; code is the answer dialog's (1, 7 or 2). finalAnswer may be
  // null (no equation keyed).
  TAnswerRecord EndQuestion(const TReaction& reaction, int questionIndex, int code, int32_t points,
                            const TEquation* finalAnswer) const;

  // Where the answers go: the store of the account's settings, opened when first written.
  TResultsStore& Store();
  // A quiz run begins: the settings are read again, so a class server set meanwhile is used.
  void BeginRun();
  bool Record(const TAnswerRecord& record, std::string& why) override;

  void CoachingOpened(TStep step, const std::string& formula, const std::string& charge) override;

 private:
  std::unique_ptr<TResultsStore> store_;
  // The address given that could not be read; empty when it could.
  std::string unreadableAddress_;
  std::chrono::steady_clock::time_point questionStart_;
  bool checked_ = false;
  std::string firstAnswer_;
  int32_t firstScore_ = 0;
  std::vector<TCoachingNote> coaching_;
};
