#include "quiz/rules/answer_recorder.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "model/answer_text.h"

TAnswerRecorder::TAnswerRecorder(TAnswerSink& sink, TWhoAnswers who)
    : sink_(sink), who_(std::move(who)) {
  // Answers from many machines are told apart by these ids alone.
  std::random_device device;
  std::seed_seq seed{device(), device(), device(), device(), device(), device()};
  idGenerator_.seed(seed);
}

void TAnswerRecorder::BeginRun(const TTypeFlags& flags, std::string assignmentId, bool practice) {
  runId_ = NewId();
  assignmentId_ = std::move(assignmentId);
  practice_ = practice;
  runStarted_ = UtcTimestamp();
  types_.clear();
  for (int type = 0; type < kReactionTypeCount; ++type)
    if (flags[type] == 1) types_ += (types_.empty() ? "" : ", ") + TypeLabel(type);
  failureShown_ = false;
}

TAnswerRecord TAnswerRecorder::Build(const TReaction& reaction, int questionIndex,
                                     const TQuestionOutcome& outcome, const TAnswerer& who) {
  TAnswerRecord record;
  record.student = who.student;
  record.login = who.login;
  record.questionNumber = questionIndex + 1;
  record.question = reaction.QuestionText();
  record.questionType = reaction.type;
  record.storedAnswer = StoredAnswerText(reaction);
  if (outcome.firstEquation) record.firstAnswer = EquationAnswerText(*outcome.firstEquation);
  if (outcome.finalEquation) record.finalAnswer = EquationAnswerText(*outcome.finalEquation);
  record.coaching = outcome.coaching;
  record.firstScore = outcome.firstScore;
  record.finalScore = outcome.points;
  record.ending = outcome.ending;
  record.seconds = outcome.seconds;
  return record;
}

std::string TAnswerRecorder::Record(const TReaction& reaction, int questionIndex,
                                    const TQuestionOutcome& outcome) {
  TAnswerRecord record = Build(reaction, questionIndex, outcome, who_ ? who_() : TAnswerer());
  record.answerId = NewId();
  record.runId = runId_;
  record.runStarted = runStarted_;
  record.answeredAt = UtcTimestamp();
  record.types = types_;
  record.assignmentId = assignmentId_;
  record.practice = practice_ ? 1 : 0;
  std::string why;
  if (sink_.Record(record, why) || failureShown_) return {};
  failureShown_ = true;
  return why;
}

std::string TAnswerRecorder::NewId() {
  char text[33];
  std::snprintf(text, sizeof text, "%016llx%016llx",
                static_cast<unsigned long long>(idGenerator_()),
                static_cast<unsigned long long>(idGenerator_()));
  return text;
}

std::string UtcTimestamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}
