#include "editor/select_dialog.h"

#include "editor/type_controls.h"
#include "ui/check_box.h"

TSelectDialog::TSelectDialog(QWidget* parent, TTypeFlags* flags)
    : TDialog(parent, "605"), flags_(flags) {}

void TSelectDialog::SetupWindow() {
  TDialog::SetupWindow();
  for (std::size_t i = 0; i < flags_->size(); ++i)
    if (TCheckBox* box = CheckBox(kFirstTypeControl + static_cast<int>(i))) box->SetCheck(false);
}

void TSelectDialog::CmOk() {
  for (std::size_t i = 0; i < flags_->size(); ++i) {
    TCheckBox* box = CheckBox(kFirstTypeControl + static_cast<int>(i));
    (*flags_)[i] = box && box->GetCheck() ? 1 : 0;
  }
  CloseWindow(kOk);
}
