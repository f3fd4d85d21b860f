#pragma once
#include <QPoint>
#include <QSize>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "model/comparison_table.h"
#include "model/question_outcome.h"

class TDialog;
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
  // The tables and score are those of the grading that found the answer wrong; coaching
  // starts from them rather than grading the same equation again.
  TCoach(TEquationDialog& dialog, ComparisonTable& correct, ComparisonTable& student, int score);

  // Returns the score of the last grading: 3, or less when coaching stopped.
  int Run();
  // The coaching dialogs that opened, in order, each with the substance it was about.
  const std::vector<TCoachingNote>& Notes() const { return notes_; }

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

  // The student's formula written into that row of the student table; null past the side's end.
  TFormula* StudentFormula(int row, bool reactantSide) const;
  // The first row of the student table, not taken yet, still unmatched and holding text; -1 if
  // none.
  int UnmatchedStudentRow(std::string_view text, bool reactantSide,
                          const std::array<bool, ComparisonTable::kRows>& taken) const;

  int ChangeCharge(TFormula* substance, int row, bool reactantSide);
  int SplitIt(TFormula* substance, bool reactantSide);
  int EditSubstance(TFormula* substance, bool reactantSide);
  int AddSubstance(bool reactantSide);
  void HideAnswerDialog();
  // The oxidation-number and dissociation dialogs stand beside the answer dialog, all at one
  // place found for the first of them and kept through the coaching, so none jumps about.
  void PlaceBesideAnswer(TDialog& coaching);
  // The substance dialogs stand in for the answer dialog, hidden meanwhile, at its place.
  void PlaceOverAnswer(TDialog& coaching) const;

  TEquationDialog& dialog_;
  ComparisonTable& correct_;
  ComparisonTable& student_;
  int score_;
  bool openedDialog_ = false;
  std::vector<TCoachingNote> notes_;
  std::optional<QPoint> besidePlace_;
};

// The room the coaching dialogs that stand beside the answer dialog take, frame aside: the
// largest of them.
QSize CoachingDialogSize();

// The message shown when the answer is right, owned by the answer dialog: after a right first
// answer and at the end of successful coaching alike.
void ShowSuccessMessage(TEquationDialog& dialog);
