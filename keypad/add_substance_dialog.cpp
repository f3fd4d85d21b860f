#include "keypad/add_substance_dialog.h"

#include <algorithm>

#include "keypad/edit_window.h"
#include "model/comparison_table.h"
#include "ui/resources/resource_ids.h"

TAddSubstanceDialog::TAddSubstanceDialog(QWidget* parent, const TReaction& reaction,
                                         TEquation* equation, bool reactantSide)
    : TEditSubstanceDialog(parent, TemplateId::kAddSubstance, reaction, nullptr, equation,
                           reactantSide) {}

std::string TAddSubstanceDialog::FirstLineText() const {
  return std::string("There is a ") + (ReactantSide() ? "reactant " : "product ") +
         "missing in this reaction.";
}

std::string TAddSubstanceDialog::SecondLineText() const {
  return "Use the buttons above to create a new substance.";
}

TFormula* TAddSubstanceDialog::ChooseEditedFormula() {
  newFormula_ = std::make_unique<TFormula>();
  return newFormula_.get();
}

void TAddSubstanceDialog::CmOk() {
  if (!newFormula_) return CloseWindow(kOk);
  TEquation& equation = CallersEquation();
  if (!ReactantSide()) equation.arrowEntered = true;
  TFormulaList& side = equation.Side(ReactantSide());
  auto isEmpty = [](const std::unique_ptr<TFormula>& formula) { return formula->symbols.empty(); };
  TFormula* target = nullptr;
  if (!side.empty() && isEmpty(side.back())) {
    target = side.back().get();
  } else if (static_cast<int>(side.size()) >= ComparisonTable::kRows) {
    // A formula beyond the fifth is never graded, so adding one could never help: fill a
    // formula left empty instead.
    auto empty = std::find_if(side.begin(), side.end(), isEmpty);
    if (empty != side.end()) target = empty->get();
  }
  if (target) {
    target->CopyFrom(*newFormula_);
    DiscardNewFormula();
  } else {
    side.push_back(std::move(newFormula_));
  }
  CloseWindow(kOk);
}

void TAddSubstanceDialog::CmCancel() {
  DiscardNewFormula();
  TEditSubstanceDialog::CmCancel();
}

void TAddSubstanceDialog::DiscardNewFormula() {
  // Nothing may go on pointing at the formula once it is gone.
  Keypad().OpenFormula(nullptr);
  EditWindow()->SetFormula(nullptr);
  newFormula_.reset();
}
