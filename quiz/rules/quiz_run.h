#pragma once
#include <cstdint>
#include <functional>
#include <random>

#include "model/question_outcome.h"
#include "model/reaction.h"
#include "model/type_flags.h"
#include "quiz/rules/run_summary.h"
#include "quiz/rules/taken.h"

// The bookkeeping of a quiz run, without any window: which reactions may still be asked, the
// random draw among them and the score. The quiz view runs the dialogs around it; an answer's
// record is TAnswerRecorder's.
class TQuizRun {
 public:
  static constexpr int32_t kPointsPerQuestion = kFullScore;
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
  // An answered question, as it came out, and the type of its reaction. A Quit adds nothing.
  void AddAnswer(const TQuestionOutcome& outcome, int32_t type);

  int32_t PointsEarned() const { return pointsEarned_; }
  int32_t PointsPossible() const { return pointsPossible_; }
  const TTakenList& TakenList() const { return takenList_; }
  const TRunSummary& Summary() const { return summary_; }

  static bool IsEligible(const TReaction& reaction, const TTypeFlags& flags);

 private:
  uint32_t NextRandom();

  const TReactionList& reactions_;
  TTakenList takenList_;
  int32_t pointsEarned_ = 0;
  int32_t pointsPossible_ = 0;
  TRunSummary summary_;
  std::mt19937 generator_;
  TRandomSource randomSource_;
};
