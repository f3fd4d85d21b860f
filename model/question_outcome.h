#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "model/answer_record.h"
#include "model/equation.h"

// The score of a right answer, and so the most a question earns.
inline constexpr int32_t kFullScore = 3;

// What the grading and coaching of one Check came to.
struct TCheckResult {
  int32_t firstScore = 0;               // the one grading of the equation as the student checked it
  int32_t score = 0;                    // the last grading: 3 when right, at once or after coaching
  std::vector<TCoachingNote> coaching;  // the coaching dialogs opened, in order
};

// One question as the answer dialog hands it back when it closes: how it ended, the scores,
// the student's equations and the coaching it took. The quiz view scores it, shows it and
// has it recorded; nothing else about the question goes back from the dialog.
struct TQuestionOutcome {
  TEnding ending = TEnding::Quit;
  int32_t firstScore = 0;  // 0 when the question was never checked
  int32_t points = 0;      // the final score; 0 after a Quit
  // Copies, as the first Check found the equation and as the dialog closed on it; null when
  // the question was never checked, or no equation was ever made.
  std::unique_ptr<TEquation> firstEquation;
  std::unique_ptr<TEquation> finalEquation;
  std::vector<TCoachingNote> coaching;
  int32_t seconds = 0;  // from the dialog's opening to its close
};
