#include "coach/change_charge_dialog.h"

#include "coach/rules/charge_choice.h"
#include "keypad/answer_window.h"
#include "keypad/static_window.h"
#include "ui/combo_box.h"
#include "ui/message_box.h"
#include "ui/resources/resource_ids.h"

TChangeChargeDialog::TChangeChargeDialog(QWidget* parent, TAnswerWindow* equationWindow,
                                         std::string correctCharge, TFormula* substance)
    : TDialog(parent, TemplateId::kChangeCharge),
      equationWindow_(equationWindow),
      correctCharge_(std::move(correctCharge)),
      substance_(substance),
      messagePanel_(new TStaticWindow(this, substance, correctCharge_)) {}

TComboBox* TChangeChargeDialog::ChargeList() const {
  return ComboBox(102);
}

void TChangeChargeDialog::SetupWindow() {
  TDialog::SetupWindow();
  const QRect client = rect();
  messagePanel_->MoveWindow(client.left() + ScaledX(5), client.top() + ScaledY(5),
                            client.width() - ScaledX(10), ScaledY(50));
  TComboBox* list = ChargeList();
  list->SetTextLimit(4);
  for (const char* choice : kChargeChoices) list->AddString(choice);
  const std::string present = substance_ ? substance_->TrailingChargeText() : std::string();
  // A charge keyed as several charge keys is none of the items: show no pick rather than a
  // wrong one.
  if (!list->SetText(present.empty() ? "0" : present)) list->SetSelIndex(-1);
  // The pick is the student's to make: Up and Down change it there, and Enter is OK.
  list->setFocus();
}

void TChangeChargeDialog::CmOk() {
  const std::string choice = ChargeList()->GetText();
  if (choice.empty() || !substance_) return;  // nothing picked yet
  ApplyChargeChoice(*substance_, choice);
  if (ChoiceToDecimal(choice) != correctCharge_) {
    messagePanel_->BuildLines();
    if (equationWindow_) equationWindow_->Invalidate();
    MessageBox(this, "Sorry. " + choice + " is not the correct oxidation number. Try again.",
               "Oops", MbIcon::Exclamation);
    return;
  }
  if (equationWindow_) equationWindow_->Invalidate();
  MessageBox(this, "Very good. " + choice + " is the correct oxidation number.", "Excellent",
             MbIcon::Success);
  CloseWindow(kOk);
}
