#pragma once
#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "model/reaction.h"
#include "model/type_flags.h"
#include "quiz/run_summary.h"
#include "quiz/taken.h"
#include "results/answer_sink.h"

// The bookkeeping of a quiz run, without any window: which reactions may still be asked, the
// random draw among them and the score. The quiz view runs the dialogs around it.
class TQuizRun {
 public:
  static constexpr int32_t kPointsPerQuestion = 3;
  // Where the draw takes its numbers from; tests give a fixed sequence.
  using TRandomSource = std::function<uint32_t()>;

  explicit TQuizRun(const TReactionList& reactions);

  void SeedFromClock();
  // Replaces the clock-seeded generator; an empty source restores it.
  void SetRandomSource(TRandomSource source) { randomSource_ = std::move(source); }

  // A confirmed type choice: every reaction of a chosen type (codes 0..4 only) becomes
  // eligible, every other one taken, and the score goes back to 0.
  void Begin(const TTypeFlags& flags);
  bool HasEligible() const;
  // Draws an eligible reaction at random, marks it taken and returns its index; -1 when none
  // is left.
  int DrawQuestion();
  // An answered question: its points, how it ended and the type of its reaction. A Quit
  // adds nothing.
  void AddAnswer(int32_t points, TEnding ending, int32_t type);

  // Where each answer is reported; none by default.
  void SetAnswerSink(TAnswerSink* sink) { sink_ = sink; }
  // Reports one question's answer, with the quiz run's own fields filled in. Returns the
  // message to show when it could not be kept, once per quiz run; empty otherwise.
  std::string ReportAnswer(TAnswerRecord record);
  const std::string& RunId() const { return runId_; }

  int32_t PointsEarned() const { return pointsEarned_; }
  int32_t PointsPossible() const { return pointsPossible_; }
  const TTakenList& TakenList() const { return takenList_; }
  const TRunSummary& Summary() const { return summary_; }

  static bool IsEligible(const TReaction& reaction, const TTypeFlags& flags);

 private:
  uint32_t NextRandom();
  std::string NewId();

  const TReactionList& reactions_;
  TTakenList takenList_;
  int32_t pointsEarned_ = 0;
  int32_t pointsPossible_ = 0;
  TRunSummary summary_;
  std::mt19937 generator_;
  TRandomSource randomSource_;
  TAnswerSink* sink_ = nullptr;
  std::mt19937_64 idGenerator_;
  std::string runId_;
  std::string runStarted_;
  std::string types_;
  bool failureShown_ = false;
};

// The clock's time as ISO 8601 in UTC, to the second: "2026-12-07T13:45:00Z".
std::string UtcTimestamp();
