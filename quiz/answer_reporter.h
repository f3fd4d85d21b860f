#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "coach/coaching_listener.h"
#include "keypad/equation_dialog.h"
#include "results/answer_record.h"
#include "results/answer_sender.h"
#include "results/answer_sink.h"
#include "results/results_location.h"

class TEquation;
class TQuizRun;
class TAnswerPoster;

// Follows one question from the answer dialog to its end and reports it to the quiz run: the
// student's first answer and its score, the coaching dialogs that opened, the final answer and
// score, how the question ended and the seconds it took. Is the quiz run's sink in front of
// the poster, which keeps each answer on this computer at once and sends it to the results
// store of the account's settings without the quiz waiting.
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

  // What sends the answers on; made, with the account's settings read, on first use.
  TAnswerPoster& Poster();
  // What the last round of sending left; nothing waits before the poster is made.
  TSendStatus PosterStatus() const;
  // Where the answers go now.
  const TResultsLocation& Location() const { return location_; }
  // A quiz run begins: the settings are read again, so a class server set meanwhile is used.
  void BeginRun();
  // A quiz run ended: waits a few seconds at most for answers still being sent.
  void EndRun();
  // Kept on this computer at once; false, with why, when the store did not take the answers
  // before this one (they wait and are sent later) or not even this computer could keep it.
  bool Record(const TAnswerRecord& record, std::string& why) override;
  // How long Record waits for its answer to be sent before the quiz goes on: none in the
  // program; tests wait, so that what the store says is known by the next question.
  void SetPatience(int milliseconds) { patience_ = milliseconds; }

  void CoachingOpened(TStep step, const std::string& formula, const std::string& charge) override;

 private:
  std::unique_ptr<TAnswerPoster> poster_;
  TResultsLocation location_;
  int patience_ = 0;
  std::chrono::steady_clock::time_point questionStart_;
  bool checked_ = false;
  std::string firstAnswer_;
  int32_t firstScore_ = 0;
  std::vector<TCoachingNote> coaching_;
};
