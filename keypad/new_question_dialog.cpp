#include "keypad/new_question_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "keypad/answer_window.h"
#include "model/charge_text.h"
#include "model/windows1252.h"
#include "ui/message_box.h"
#include "ui/resources/resource_ids.h"

namespace {

bool SideIsEmpty(const QuestionRecord& record, bool reactant) {
  for (int i = 0; i < QuestionRecord::kSlots; ++i)
    if (!record.Formula(reactant, i).empty()) return false;
  return true;
}

}  // namespace

TNewQuestionDialog::TNewQuestionDialog(QWidget* parent, QuestionRecord* record,
                                       std::string_view question)
    : TKeypadDialog(parent, TemplateId::kNewQuestion, TKeypad::NewQuestionDialogConfig()),
      record_(record),
      question_(question),
      answerWindow_(new TAnswerWindow(this, false)) {
  Keypad().SetReplaceEquationHandler([this](std::unique_ptr<TEquation> equation) {
    answerWindow_->SetEquation(std::move(equation));
  });
}

QLineEdit* TNewQuestionDialog::QuestionEdit() const {
  return Edit(kQuestionEdit);
}

void TNewQuestionDialog::SetupWindow() {
  TKeypadDialog::SetupWindow();
  if (QLineEdit* edit = QuestionEdit()) {
    // The limit shows while typing; a stored question never holds more.
    edit->setMaxLength(kMaxQuestion);
    edit->setText(QString::fromStdString(Windows1252ToUtf8(question_)));
    edit->setPlaceholderText(QStringLiteral("The question, at most 99 characters"));
    // The count sits just right of the box, inside the dialog's margin.
    lengthStatic_ = AddStatic("", 0, 0, 0, 0);
    lengthStatic_->setGeometry(MapDialogRect(QRect(294, 18, 34, 10)));
    connect(edit, &QLineEdit::textChanged, this, &TNewQuestionDialog::ShowLength);
    edit->installEventFilter(this);
    ShowLength();
  }
  const QRect client = rect();
  const int top = client.bottom() + 1 - ScaledY(150);
  answerWindow_->MoveWindow(client.left() + ScaledX(40), top + ShiftBelowKeys(top),
                            client.width() - ScaledX(80), ScaledY(70));
  PlaceHintBelow(*answerWindow_);
  SetHintText("Tab to the answer, then type or click: Ag+ + Cl- -> AgCl");
  answerWindow_->SetEquation(TKeypad::MakeOpeningEquation());
  Keypad().OpenEquation(answerWindow_->Equation());
  // Keyed as typing keys it, so that Undo walks it back key by key.
  if (!startAnswer_.empty()) Typing().Paste(startAnswer_);
  // The question box types text; Tab (or a click) moves to the answer strip, which then takes
  // typing as keys.
  answerWindow_->setFocusPolicy(Qt::StrongFocus);
  if (QLineEdit* edit = QuestionEdit()) {
    setTabOrder(edit, answerWindow_);
    edit->setFocus();
  }
}

void TNewQuestionDialog::StartWith(const QuestionRecord& record) {
  std::string text;
  for (bool reactant : {true, false}) {
    std::string side;
    for (int i = 0; i < QuestionRecord::kSlots; ++i) {
      if (record.Formula(reactant, i).empty()) continue;
      const std::string_view charge = record.Charge(reactant, i);
      side += std::string(side.empty() ? "" : " + ") + std::string(record.Formula(reactant, i)) +
              (charge.empty() ? "" : "^" + std::string(charge));
    }
    text += reactant ? side : " -> " + side;
  }
  startAnswer_.assign(text.begin(), text.end());
}

void TNewQuestionDialog::ShowPending(const std::string& pending) {
  answerWindow_->SetPending(pending);
}

bool TNewQuestionDialog::TypingGoesToKeypad() const {
  return answerWindow_->hasFocus();
}

void TNewQuestionDialog::RepaintDisplay() {
  // A long answer stays in sight at its end, where the next key lands.
  answerWindow_->ShowEnd();
}

void TNewQuestionDialog::ShowLength() {
  if (lengthStatic_ && QuestionEdit())
    lengthStatic_->setText(
        QStringLiteral("%1/%2").arg(QuestionEdit()->text().size()).arg(kMaxQuestion));
}

bool TNewQuestionDialog::eventFilter(QObject* watched, QEvent* event) {
  QLineEdit* edit = QuestionEdit();
  if (watched == edit && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
    // The box cuts a paste at 99 characters without a word: the teacher is told.
    const qsizetype room = kMaxQuestion - (edit->text().size() - edit->selectedText().size());
    const qsizetype pasted = QGuiApplication::clipboard()->text().size();
    edit->paste();
    if (pasted > room && HintLine())
      HintLine()->setText(
          QStringLiteral("The pasted text was cut: a question holds at most 99 characters."));
    return true;
  }
  return TKeypadDialog::eventFilter(watched, event);
}

void TNewQuestionDialog::Refuse(const std::string& text) {
  MessageBox(this, text, "Warning", MbIcon::Exclamation);
}

void TNewQuestionDialog::WriteAnswer() {
  // A refused OK may have written slots that the equation no longer has.
  record_->ClearSlots();
  const TEquation& equation = *answerWindow_->Equation();
  for (bool reactant : {true, false}) {
    const TFormulaList& side = equation.Side(reactant);
    for (std::size_t i = 0; i < side.size() && i < QuestionRecord::kSlots; ++i) {
      const SplitText text = SplitFormulaText(*side[i]);
      record_->SetFormula(reactant, static_cast<int>(i), text.formula);
      record_->SetCharge(reactant, static_cast<int>(i), text.charge);
    }
  }
}

void TNewQuestionDialog::CmOk() {
  const TEquation& equation = *answerWindow_->Equation();
  if (equation.reactants.size() > QuestionRecord::kSlots) {
    Refuse("You cannot have more than 5 reactants.");
    return;
  }
  if (equation.products.size() > QuestionRecord::kSlots) {
    Refuse("You cannot have more than 5 products.");
    return;
  }
  WriteAnswer();
  std::string question;
  std::string bad;
  const std::string typed = QuestionEdit() ? QuestionEdit()->text().toStdString() : std::string();
  if (!Utf8ToWindows1252(typed, question, &bad)) {
    Refuse("The question cannot contain the character \"" + bad +
           "\". Please replace it with another character.");
    return;
  }
  record_->SetQuestion(question.substr(0, kMaxQuestion));
  // A question of blanks only is no question either.
  if (record_->Question().find_first_not_of(" \t") == std::string_view::npos) {
    Refuse("You must enter a reaction!!");
  } else if (SideIsEmpty(*record_, true)) {
    Refuse("You must enter at least one reactant!!");
  } else if (SideIsEmpty(*record_, false)) {
    Refuse("You must enter at least one product!!");
  } else {
    CloseWindow(kOk);
  }
}
