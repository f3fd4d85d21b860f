#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/answer_record.h"

// What a quiz run came to, told to the student at its end: the points, the questions right at
// the first Check, those that needed coaching (put right by it or not) and the reaction type
// that needed coaching most often. A question left with Quit is no part of it.
class TRunSummary {
 public:
  void Clear() { *this = TRunSummary(); }
  // One answered question: its points, how it ended and its reaction type code.
  void Add(int32_t points, TEnding ending, int32_t type);

  int Answered() const { return answered_; }
  int RightAtOnce() const { return rightAtOnce_; }
  int NeededCoaching() const { return answered_ - rightAtOnce_; }
  int32_t PointsEarned() const { return pointsEarned_; }
  int32_t PointsPossible() const { return pointsPossible_; }
  // The types with the most questions that needed coaching, in code order (several on a tie);
  // empty when none needed any.
  std::vector<int32_t> MostMissed() const;

  // The summary as lines of text; none before the first answered question.
  std::vector<std::string> Lines() const;

 private:
  int answered_ = 0;
  int rightAtOnce_ = 0;
  int32_t pointsEarned_ = 0;
  int32_t pointsPossible_ = 0;
  std::map<int32_t, int> missedByType_;
};
