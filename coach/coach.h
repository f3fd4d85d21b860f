#pragma once
#include "model/comparison_table.h"

class TEquationDialog;
class TFormula;

// Leads the student from a wrong answer to the right one, one problem at a time: a wrong
// charge, a compound still to be dissociated, a substance that does not belong, a substance
// that is missing. Each problem opens its coaching dialog over the answer dialog, and the
// answer is graded again after each. Coaching ends when the answer is right (with the success
// message), when the student presses "&Answer" in a coaching dialog, or when a whole round of
// both sides finds nothing that a dialog could correct.
class TCoach {
 public:
  // The tables are those of the grading that found the answer wrong.
  TCoach(TEquationDialog& dialog, ComparisonTable& correct, ComparisonTable& student);

  // Returns the score of the last grading: 3, or less when coaching stopped.
  int Run();

 private:
  // How a pass over one side, or a step of it, ended.
  enum class TEnd { Through, Restart, Stop };

  void Regrade();
  TEnd RunPass(bool reactantSide);
  TEnd PassOnce(bool reactantSide);
  TEnd CorrectCharges(bool reactantSide);
  TEnd Dissociate(bool reactantSide);
  TEnd ReplaceWrongSubstances(bool reactantSide);
  TEnd AddMissingSubstances(bool reactantSide);

  int ChangeCharge(TFormula* substance, int row, bool reactantSide);
  int SplitIt(TFormula* substance, bool reactantSide);
  int EditSubstance(TFormula* substance, bool reactantSide);
  int AddSubstance(bool reactantSide);
  void HideAnswerDialog();

  TEquationDialog& dialog_;
  ComparisonTable& correct_;
  ComparisonTable& student_;
  int score_ = 0;
  bool openedDialog_ = false;
};

// Runs the coaching loop from a grading that gave score; returns the final score.
int CoachAnswer(TEquationDialog& dialog, ComparisonTable& correct, ComparisonTable& student,
                int score);
