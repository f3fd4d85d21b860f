#include "editor/type_dialog.h"

#include "editor/type_controls.h"
#include "ui/radio_button.h"

TTypeDialog::TTypeDialog(QWidget* parent, TTypeFlags* flags, std::string_view question)
    : TDialog(parent, "601"), flags_(flags), question_(question) {}

void TTypeDialog::SetupWindow() {
  TDialog::SetupWindow();
  questionStatic_ = AddStatic(question_, 10, 10, 300, 35);
  // Unchecking first lets an all-zero array open with no choice made.
  for (std::size_t i = 0; i < flags_->size(); ++i)
    if (TRadioButton* radio = RadioButton(kFirstTypeControl + static_cast<int>(i)))
      radio->SetCheck(false);
  for (std::size_t i = 0; i < flags_->size(); ++i)
    if (TRadioButton* radio = RadioButton(kFirstTypeControl + static_cast<int>(i)))
      if ((*flags_)[i] == 1) radio->SetCheck(true);
}

void TTypeDialog::CmOk() {
  for (std::size_t i = 0; i < flags_->size(); ++i) {
    TRadioButton* radio = RadioButton(kFirstTypeControl + static_cast<int>(i));
    (*flags_)[i] = radio && radio->GetCheck() ? 1 : 0;
  }
  CloseWindow(1);
}
