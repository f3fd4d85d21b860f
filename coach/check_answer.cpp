#include "coach/check_answer.h"

#include "coach/coach.h"
#include "coach/grader.h"
#include "keypad/answer_window.h"
#include "keypad/equation_dialog.h"

void CheckAnswer(TEquationDialog& dialog) {
  const TEquation* equation = dialog.AnswerWindow()->Equation();
  if (!equation) return;
  ComparisonTable correct;
  ComparisonTable& student = dialog.StudentTable();
  int score = GradeAnswer(dialog.Reaction(), *equation, correct, student);
  if (score < 3) {
    score = CoachAnswer(dialog, correct, student, score);
  } else {
    ShowSuccessMessage(dialog);
  }
  if (int32_t* points = dialog.Points()) *points = score;
  if (score == 3) {
    dialog.CloseWindow(1);
    return;
  }
  // The caller shows the answer as it now stands, coaching's changes included.
  student.Clear();
  RefillStudentTable(*dialog.AnswerWindow()->Equation(), student);
  dialog.CloseWindow(7);
}
