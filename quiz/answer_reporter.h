#pragma once
#include <memory>
#include <string>

#include "model/answer_record.h"
#include "model/answer_sink.h"
#include "quiz/rules/answer_recorder.h"
#include "results/answer_sender.h"
#include "results/results_location.h"

class TAnswerPoster;

// The quiz's sink for answer records: in front of the poster, which keeps each answer on this
// computer at once and sends it to the results store of the account's settings without the
// quiz waiting. Also says who answers, from the same settings.
class TAnswerReporter : public TAnswerSink {
 public:
  TAnswerReporter();
  ~TAnswerReporter() override;

  // The student's name and login the results settings give now.
  static TAnswerer Answerer();

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
  // Kept on this computer at once (in memory when no outbox can keep it); false, with why,
  // when the store did not take the answers before this one (they wait and are sent later)
  // or the student should know where answers are held now.
  bool Record(const TAnswerRecord& record, std::string& why) override;
  // How long Record waits for its answer to be sent before the quiz goes on: none in the
  // program; tests wait, so that what the store says is known by the next question.
  void SetPatience(int milliseconds) { patience_ = milliseconds; }

 private:
  std::unique_ptr<TAnswerPoster> poster_;
  TResultsLocation location_;
  int patience_ = 0;
};
