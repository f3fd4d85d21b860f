#include "coach/check_answer.h"

#include "coach/coach.h"
#include "coach/rules/grader.h"
#include "keypad/answer_window.h"
#include "keypad/equation_dialog.h"

std::optional<TCheckResult> CheckAnswer(TEquationDialog& dialog) {
  const TEquation* equation = dialog.AnswerWindow()->Equation();
  if (!equation) return std::nullopt;
  ComparisonTable correct, student;
  TCheckResult result;
  result.firstScore = GradeAnswer(dialog.Reaction(), *equation, correct, student);
  result.score = result.firstScore;
  if (result.score < kFullScore) {
    TCoach coach(dialog, correct, student, result.score);
    result.score = coach.Run();
    result.coaching = coach.Notes();
  } else {
    ShowSuccessMessage(dialog);
  }
  return result;
}
