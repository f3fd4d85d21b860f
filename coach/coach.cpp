#include "coach/coach.h"

#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "coach/change_charge_dialog.h"
#include "coach/rules/formula_search.h"
#include "coach/rules/grader.h"
#include "coach/split_it_dialog.h"
#include "keypad/add_substance_dialog.h"
#include "keypad/answer_window.h"
#include "keypad/edit_substance_dialog.h"
#include "keypad/equation_dialog.h"
#include "model/answer_text.h"
#include "model/charge_text.h"
#include "ui/dialog_template.h"
#include "ui/message_box.h"
#include "ui/place_beside.h"
#include "ui/resources/resource_ids.h"

namespace {

// "&Answer" in any coaching dialog: it stands where Cancel does.
constexpr int kAnswer = TDialog::kCancel;
constexpr int kSkip = TSplitItDialog::kSkip;

// The size a dialog built on that template takes, frame aside.
QSize TemplateClientSize(const char* name) {
  const TDialogTemplate* dialog = FindDialogTemplate(name);
  if (!dialog) return {};
  return TDialog::ClientSizeOf(*dialog);
}

// How far down from the top of the answer dialog's frame its question reaches: everything
// above the keypad, which a coaching dialog may cover when the screen has no room beside it.
int QuestionBand(const TEquationDialog& answer) {
  int keysTop = answer.height();
  for (const QPushButton* key : answer.findChildren<QPushButton*>())
    keysTop = std::min(keysTop, key->geometry().top());
  return answer.geometry().top() - answer.frameGeometry().top() + keysTop;
}

}  // namespace

TCoach::TCoach(TEquationDialog& dialog, ComparisonTable& correct, ComparisonTable& student,
               int score)
    : dialog_(dialog), correct_(correct), student_(student), score_(score) {}

void TCoach::Regrade() {
  score_ = GradeAnswer(dialog_.Reaction(), *dialog_.AnswerWindow()->Equation(), correct_, student_);
}

int TCoach::Run() {
  while (score_ < kFullScore) {
    openedDialog_ = false;
    if (RunPass(true) == TEnd::Stop || RunPass(false) == TEnd::Stop) return score_;
    // A round in which no dialog opened changed nothing, and the next would be the same.
    if (score_ < kFullScore && !openedDialog_) return score_;
  }
  ShowSuccessMessage(dialog_);
  return score_;
}

TCoach::TEnd TCoach::RunPass(bool reactantSide) {
  TEnd end = TEnd::Restart;
  while (end == TEnd::Restart) end = PassOnce(reactantSide);
  return end;
}

TCoach::TEnd TCoach::PassOnce(bool reactantSide) {
  for (auto step : {&TCoach::CorrectCharges, &TCoach::Dissociate, &TCoach::ReplaceWrongSubstances,
                    &TCoach::AddMissingSubstances}) {
    const TEnd end = (this->*step)(reactantSide);
    if (end != TEnd::Through) return end;
  }
  return TEnd::Through;
}

// Every substance with a right formula and a wrong charge, then one regrade.
TCoach::TEnd TCoach::CorrectCharges(bool reactantSide) {
  const auto formulas = ComparisonTable::FormulaArray(reactantSide);
  std::array<bool, ComparisonTable::kRows> taken{};
  for (int row = 0; row < ComparisonTable::kRows; ++row) {
    const std::string text(correct_.Field(formulas, row));
    if (text.empty()) continue;
    const int studentRow = UnmatchedStudentRow(text, reactantSide, taken);
    if (studentRow < 0) continue;
    // Two stored substances of one formula must not send the student to one copy twice.
    taken[studentRow] = true;
    if (ChangeCharge(StudentFormula(studentRow, reactantSide), row, reactantSide) == kAnswer)
      return TEnd::Stop;
  }
  Regrade();
  return TEnd::Through;
}

// At most one compound that the student agrees to dissociate; a skipped one lets the search
// go on.
TCoach::TEnd TCoach::Dissociate(bool reactantSide) {
  const auto formulas = ComparisonTable::FormulaArray(reactantSide);
  for (int row = 0; row < ComparisonTable::kRows; ++row) {
    bool restart = false;
    const std::string text(correct_.Field(formulas, row));
    if (!text.empty()) {
      if (TFormula* compound =
              FindContainingFormula(*dialog_.AnswerWindow()->Equation(), text, reactantSide)) {
        restart = true;
        const int result = SplitIt(compound, reactantSide);
        if (result == kAnswer) return TEnd::Stop;
        if (result == kSkip) restart = false;
      }
    }
    Regrade();
    if (restart) return TEnd::Restart;
  }
  return TEnd::Through;
}

// The first student substance that matches nothing.
TCoach::TEnd TCoach::ReplaceWrongSubstances(bool reactantSide) {
  const auto formulas = ComparisonTable::FormulaArray(reactantSide);
  for (int row = 0; row < ComparisonTable::kRows; ++row) {
    bool restart = false;
    // A row still filled after the comparison is the student's formula of that place.
    if (!student_.Field(formulas, row).empty()) {
      if (TFormula* wrong = StudentFormula(row, reactantSide)) {
        restart = true;
        if (EditSubstance(wrong, reactantSide) == kAnswer) return TEnd::Stop;
      }
    }
    Regrade();
    if (restart) return TEnd::Restart;
  }
  return TEnd::Through;
}

// The first correct substance that the student still lacks.
TCoach::TEnd TCoach::AddMissingSubstances(bool reactantSide) {
  const auto formulas = ComparisonTable::FormulaArray(reactantSide);
  for (int row = 0; row < ComparisonTable::kRows; ++row) {
    const bool restart = !correct_.Field(formulas, row).empty();
    if (restart) {
      notes_.push_back({TCoachingStep::MissingSubstance,
                        SubstanceText(correct_.Field(formulas, row),
                                      ChargeToDisplay(correct_.Field(
                                          ComparisonTable::ChargeArray(reactantSide), row)))});
    }
    if (restart && AddSubstance(reactantSide) == kAnswer) return TEnd::Stop;
    Regrade();
    if (restart) return TEnd::Restart;
  }
  return TEnd::Through;
}

TFormula* TCoach::StudentFormula(int row, bool reactantSide) const {
  const TFormulaList& side = dialog_.AnswerWindow()->Equation()->Side(reactantSide);
  return row >= 0 && row < static_cast<int>(side.size()) ? side[row].get() : nullptr;
}

int TCoach::UnmatchedStudentRow(std::string_view text, bool reactantSide,
                                const std::array<bool, ComparisonTable::kRows>& taken) const {
  const auto formulas = ComparisonTable::FormulaArray(reactantSide);
  for (int row = 0; row < ComparisonTable::kRows; ++row)
    if (!taken[row] && student_.Field(formulas, row) == text && StudentFormula(row, reactantSide))
      return row;
  return -1;
}

int TCoach::ChangeCharge(TFormula* substance, int row, bool reactantSide) {
  openedDialog_ = true;
  const std::string charge(correct_.Field(ComparisonTable::ChargeArray(reactantSide), row));
  notes_.push_back({TCoachingStep::OxidationNumber, FormulaAnswerText(*substance)});
  TChangeChargeDialog coaching(&dialog_, dialog_.AnswerWindow(), charge, substance);
  PlaceBesideAnswer(coaching);
  return coaching.Execute();
}

int TCoach::SplitIt(TFormula* substance, bool reactantSide) {
  openedDialog_ = true;
  notes_.push_back({TCoachingStep::Dissociation, FormulaAnswerText(*substance)});
  TSplitItDialog coaching(&dialog_, substance, dialog_.AnswerWindow()->Equation(), reactantSide);
  PlaceBesideAnswer(coaching);
  const int result = coaching.Execute();
  if (result != kAnswer) dialog_.AnswerWindow()->Invalidate();
  return result;
}

int TCoach::EditSubstance(TFormula* substance, bool reactantSide) {
  openedDialog_ = true;
  notes_.push_back({TCoachingStep::WrongSubstance, FormulaAnswerText(*substance)});
  TEditSubstanceDialog coaching(&dialog_, dialog_.Reaction(), substance,
                                dialog_.AnswerWindow()->Equation(), reactantSide);
  PlaceOverAnswer(coaching);
  // The substance dialogs show the question and the equation themselves.
  HideAnswerDialog();
  const int result = coaching.Execute();
  dialog_.show();
  return result;
}

int TCoach::AddSubstance(bool reactantSide) {
  openedDialog_ = true;
  TAddSubstanceDialog coaching(&dialog_, dialog_.Reaction(), dialog_.AnswerWindow()->Equation(),
                               reactantSide);
  PlaceOverAnswer(coaching);
  HideAnswerDialog();
  const int result = coaching.Execute();
  dialog_.show();
  return result;
}

void TCoach::HideAnswerDialog() {
  // QDialog::hide() would also end the answer dialog's own modal run; only hide the window.
  dialog_.QWidget::setVisible(false);
}

void TCoach::PlaceBesideAnswer(TDialog& coaching) {
  if (!besidePlace_) {
    const QScreen* screen = dialog_.screen();
    if (!screen) return;
    const QRect answer = dialog_.frameGeometry();
    // A coaching dialog not shown yet has no frame of its own: it will get one like this.
    const QSize frame = answer.size() - dialog_.geometry().size();
    // Found for the largest of them, so that each fits at the one place.
    besidePlace_ = PlaceBeside(answer, CoachingDialogSize().expandedTo(coaching.size()) + frame,
                               screen->availableGeometry(), QuestionBand(dialog_))
                       .topLeft();
  }
  coaching.move(*besidePlace_);
}

QSize CoachingDialogSize() {
  return TemplateClientSize(TemplateId::kChangeCharge)
      .expandedTo(TemplateClientSize(TemplateId::kSplitIt));
}

void TCoach::PlaceOverAnswer(TDialog& coaching) const {
  coaching.move(dialog_.pos());
}

void ShowSuccessMessage(TEquationDialog& dialog) {
  MessageBox(&dialog, "Very good, you have the correct net ionic equation.", "Congratulations",
             MbIcon::Success, MbButtons::Ok);
}
