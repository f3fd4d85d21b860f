#include "quiz/rules/quiz_run.h"

#include <chrono>

TQuizRun::TQuizRun(const TReactionList& reactions) : reactions_(reactions) {
  SeedFromClock();
}

void TQuizRun::SeedFromClock() {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::system_clock::now().time_since_epoch());
  generator_.seed(static_cast<std::mt19937::result_type>(seconds.count()));
}

bool TQuizRun::IsEligible(const TReaction& reaction, const TTypeFlags& flags) {
  return reaction.type >= 0 && reaction.type < kReactionTypeCount && flags[reaction.type] == 1;
}

void TQuizRun::Begin(const TTypeFlags& flags) {
  takenList_.clear();
  for (const auto& reaction : reactions_)
    takenList_.push_back(std::make_unique<TTaken>(!IsEligible(*reaction, flags)));
  pointsEarned_ = 0;
  pointsPossible_ = 0;
  summary_.Clear();
}

bool TQuizRun::HasEligible() const {
  for (const auto& entry : takenList_)
    if (!entry->taken) return true;
  return false;
}

uint32_t TQuizRun::NextRandom() {
  return randomSource_ ? randomSource_() : static_cast<uint32_t>(generator_());
}

int TQuizRun::DrawQuestion() {
  std::size_t eligible = 0;
  for (const auto& entry : takenList_)
    if (!entry->taken) ++eligible;
  if (eligible == 0) return -1;
  // Picking the k-th eligible entry is as uniform as drawing over all entries until an
  // eligible one comes up, and always ends, whatever numbers the source gives.
  std::size_t k = NextRandom() % eligible;
  for (std::size_t index = 0; index < takenList_.size(); ++index) {
    if (takenList_[index]->taken) continue;
    if (k-- == 0) {
      takenList_[index]->taken = true;
      return static_cast<int>(index);
    }
  }
  return -1;
}

void TQuizRun::AddAnswer(const TQuestionOutcome& outcome, int32_t type) {
  if (outcome.ending == TEnding::Quit) return;
  pointsEarned_ += outcome.points;
  pointsPossible_ += kPointsPerQuestion;
  summary_.Add(outcome.points, outcome.ending, type);
}
