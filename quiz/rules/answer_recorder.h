#pragma once
#include <functional>
#include <random>
#include <string>

#include "model/answer_record.h"
#include "model/answer_sink.h"
#include "model/question_outcome.h"
#include "model/reaction.h"
#include "model/type_flags.h"

// Who answers: the student's name as the results show it, and the account's login.
struct TAnswerer {
  std::string student;
  std::string login;
};

// The one place an answer's record is made: from the question and its outcome, stamped with
// its own id, the quiz run's id, start and types and the time it was answered, and handed to
// the sink. A failure to keep it is told once per quiz run.
class TAnswerRecorder {
 public:
  using TWhoAnswers = std::function<TAnswerer()>;

  // who is asked at every answer, so a name set during a quiz run counts from then on.
  TAnswerRecorder(TAnswerSink& sink, TWhoAnswers who);

  // A quiz run of the chosen types begins; its answers name the assignment given (none for a
  // quiz of the student's own) and whether the questions were chosen for practice.
  void BeginRun(const TTypeFlags& flags, std::string assignmentId = {}, bool practice = false);
  // Records one question; returns the message to show when it could not be kept, once per
  // quiz run, and empty otherwise. questionIndex is the reaction's place in the file, from 0.
  std::string Record(const TReaction& reaction, int questionIndex, const TQuestionOutcome& outcome);

  const std::string& RunId() const { return runId_; }
  // The record as Record makes it, before it is stamped.
  static TAnswerRecord Build(const TReaction& reaction, int questionIndex,
                             const TQuestionOutcome& outcome, const TAnswerer& who);

 private:
  std::string NewId();

  TAnswerSink& sink_;
  TWhoAnswers who_;
  std::mt19937_64 idGenerator_;
  std::string runId_;
  std::string assignmentId_;
  bool practice_ = false;
  std::string runStarted_;
  std::string types_;
  bool failureShown_ = false;
};

// The clock's time as ISO 8601 in UTC, to the second: "2026-12-07T13:45:00Z".
std::string UtcTimestamp();
