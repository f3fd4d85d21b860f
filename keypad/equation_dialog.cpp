#include "keypad/equation_dialog.h"

#include <string>

#include "keypad/answer_window.h"

TEquationDialog::TEquationDialog(QWidget* parent, const TReaction& reaction,
                                 ComparisonTable* studentTable, int32_t* points, TCheck check)
    : TKeypadDialog(parent, "607", TKeypad::AnswerDialogConfig()),
      reaction_(reaction),
      studentTable_(studentTable),
      points_(points),
      check_(std::move(check)),
      answerWindow_(new TAnswerWindow(this, true)) {
  const QRect question = ScaledRect(10, 10, 450, 35);
  AddStatic(reaction_.QuestionText(), question.x(), question.y(), question.width(),
            question.height());
  Bind(1, &TEquationDialog::CmCheck);
  // Restart makes a new equation; the strip takes it and destroys the old one.
  Keypad().SetReplaceEquationHandler([this](std::unique_ptr<TEquation> equation) {
    answerWindow_->SetEquation(std::move(equation));
  });
}

void TEquationDialog::SetupWindow() {
  TKeypadDialog::SetupWindow();
  const QRect client = rect();
  const int top = client.top() + client.height() - ScaledY(150);
  answerWindow_->MoveWindow(client.left() + ScaledX(10), top + ShiftBelowKeys(top),
                            client.width() - ScaledX(20), ScaledY(100));
  PlaceHintBelow(*answerWindow_);
  answerWindow_->SetEquation(TKeypad::MakeOpeningEquation());
  Keypad().OpenEquation(answerWindow_->Equation());
  // Typing goes to the strip, which shows the caret.
  answerWindow_->setFocusPolicy(Qt::StrongFocus);
  answerWindow_->setFocus();
}

void TEquationDialog::ShowPending(const std::string& pending) {
  answerWindow_->SetPending(pending);
}

void TEquationDialog::RepaintDisplay() {
  answerWindow_->ShowEnd();
}

void TEquationDialog::CmCheck() {
  if (check_) check_(*this);
}
