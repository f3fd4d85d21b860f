#include "keypad/equation_dialog.h"

#include <string>

#include "keypad/answer_window.h"
#include "ui/resources/resource_ids.h"

namespace {

std::unique_ptr<TEquation> CopyOf(const TEquation* equation) {
  if (!equation) return nullptr;
  auto copy = std::make_unique<TEquation>();
  copy->CopyFrom(*equation);
  return copy;
}

}  // namespace

TEquationDialog::TEquationDialog(QWidget* parent, const TReaction& reaction, TCheck check)
    : TKeypadDialog(parent, TemplateId::kAnswer, TKeypad::AnswerDialogConfig()),
      reaction_(reaction),
      check_(std::move(check)),
      answerWindow_(new TAnswerWindow(this, true)) {
  const QRect question = ScaledRect(10, 10, 450, 35);
  AddStatic(reaction_.QuestionText(), question.x(), question.y(), question.width(),
            question.height());
  Bind(kCheck, &TEquationDialog::CmCheck);
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
  answerWindow_->setAccessibleName(QStringLiteral("Your equation"));
  answerWindow_->setFocus();
}

void TEquationDialog::ShowPending(const std::string& pending) {
  answerWindow_->SetPending(pending);
}

void TEquationDialog::RepaintDisplay() {
  answerWindow_->ShowEnd();
}

TQuestionOutcome TEquationDialog::Ask() {
  Execute();
  return std::move(outcome_);
}

void TEquationDialog::CmCheck() {
  if (!check_) return;
  // Coaching changes the equation: the first answer is kept as it was checked.
  std::unique_ptr<TEquation> asChecked = CopyOf(answerWindow_->Equation());
  std::optional<TCheckResult> result = check_(*this);
  if (!result) return;
  outcome_.firstEquation = std::move(asChecked);
  outcome_.firstScore = result->firstScore;
  outcome_.points = result->score;
  outcome_.coaching = std::move(result->coaching);
  CloseWindow(result->score == kFullScore ? kRight : kShown);
}

void TEquationDialog::done(int code) {
  if (code == kQuit) {
    outcome_.ending = TEnding::Quit;
    outcome_.firstScore = 0;
    outcome_.points = 0;
  } else if (code == kRight) {
    outcome_.ending =
        outcome_.firstScore == kFullScore ? TEnding::RightAtOnce : TEnding::RightAfterCoaching;
  } else {
    outcome_.ending = TEnding::Answer;
  }
  outcome_.finalEquation = CopyOf(answerWindow_->Equation());
  outcome_.seconds = static_cast<int32_t>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - opened_)
          .count());
  TKeypadDialog::done(code);
}
