#include "keypad/edit_substance_dialog.h"

#include <QKeyEvent>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "keypad/answer_window.h"
#include "keypad/blank_window.h"
#include "keypad/edit_window.h"
#include "ui/resources/resource_ids.h"

TEditSubstanceDialog::TEditSubstanceDialog(QWidget* parent, const TReaction& reaction,
                                           TFormula* wrongSubstance, TEquation* equation,
                                           bool reactantSide)
    : TEditSubstanceDialog(parent, TemplateId::kEditSubstance, reaction, wrongSubstance, equation,
                           reactantSide) {}

TEditSubstanceDialog::TEditSubstanceDialog(QWidget* parent, const char* templateId,
                                           const TReaction& reaction, TFormula* wrongSubstance,
                                           TEquation* equation, bool reactantSide)
    : TKeypadDialog(parent, templateId, TKeypad::SubstanceDialogConfig()),
      reaction_(reaction),
      wrongSubstance_(wrongSubstance),
      equation_(equation),
      reactantSide_(reactantSide),
      answerWindow_(new TAnswerWindow(this, false)),
      messageWindow_(new TBlankWindow(this, wrongSubstance, "crud")),
      editWindow_(new TEditWindow(this)) {
  const QRect question = ScaledRect(10, 10, 450, 35);
  AddStatic(reaction_.QuestionText(), question.x(), question.y(), question.width(),
            question.height());
  Bind(kDelete, &TEditSubstanceDialog::CmDelete);
}

std::string TEditSubstanceDialog::FirstLineText() const {
  return std::string(" is not a ") + (reactantSide_ ? "reactant." : "product.") +
         " It should be reentered below or deleted.";
}

std::string TEditSubstanceDialog::SecondLineText() const {
  return "Use the buttons above to create a replacement or click the delete key.";
}

TFormula* TEditSubstanceDialog::ChooseEditedFormula() {
  const int index = TEquation::IndexOf(equation_->Side(reactantSide_), wrongSubstance_);
  if (index < 0) return nullptr;
  return working_.Side(reactantSide_)[index].get();
}

void TEditSubstanceDialog::SetupWindow() {
  TKeypadDialog::SetupWindow();
  FillMessage();
  PlaceWindows();
  working_.CopyFrom(*equation_);
  auto display = std::make_unique<TEquation>();
  display->CopyFrom(*equation_);
  answerWindow_->SetEquation(std::move(display));
  TFormula* edited = ChooseEditedFormula();
  editWindow_->SetFormula(edited);
  // Empties the formula and sets the keys as for a new formula.
  Keypad().OpenFormula(edited);
  editWindow_->setFocusPolicy(Qt::StrongFocus);
  editWindow_->setFocus();
}

void TEditSubstanceDialog::ShowPending(const std::string& pending) {
  editWindow_->SetPending(pending);
}

void TEditSubstanceDialog::FillMessage() {
  std::vector<TLine>& lines = messageWindow_->Lines();
  if (lines.empty()) lines.emplace_back();
  lines.front().AppendText(FirstLineText());
  lines.emplace_back().AppendText(SecondLineText());
  messageWindow_->Invalidate();
}

void TEditSubstanceDialog::PlaceWindows() {
  const QRect client = rect();
  const int right = client.left() + client.width();
  // The three windows stand at fixed distances from the bottom and move down together if the
  // top one would cover keys.
  int bottom = client.top() + client.height();
  bottom += ShiftBelowKeys(bottom - ScaledY(175));
  const int left = client.left() + ScaledX(10);
  const int wide = client.width() - ScaledX(20);
  answerWindow_->MoveWindow(left, bottom - ScaledY(175), wide, ScaledY(40));
  messageWindow_->MoveWindow(left, bottom - ScaledY(130), wide, ScaledY(40));
  editWindow_->MoveWindow((client.left() + right) / 2 - ScaledX(50), bottom - ScaledY(85),
                          ScaledX(100), ScaledY(20));
  PlaceHintBelow(*editWindow_, true);
}

void TEditSubstanceDialog::RepaintDisplay() {
  editWindow_->Invalidate();
}

void TEditSubstanceDialog::CmOk() {
  // The copy replaces the caller's formulas, the wrong substance among them.
  messageWindow_->SetSubstance(nullptr);
  equation_->CopyFrom(working_);
  CloseWindow(kOk);
}

void TEditSubstanceDialog::keyPressEvent(QKeyEvent* event) {
  QPushButton* deleteButton = Button(kDelete);
  if (deleteButton && event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    if (deleteButton->isEnabled()) deleteButton->click();
    return;
  }
  TKeypadDialog::keyPressEvent(event);
}

void TEditSubstanceDialog::CmDelete() {
  TFormulaList& side = working_.Side(reactantSide_);
  const int index = TEquation::IndexOf(side, EditedFormula());
  Keypad().OpenFormula(nullptr);
  editWindow_->SetFormula(nullptr);
  if (index >= 0) side.erase(side.begin() + index);
  messageWindow_->SetSubstance(nullptr);
  equation_->CopyFrom(working_);
  CloseWindow(kOk);
}
