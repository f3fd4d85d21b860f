#include "editor/select_dialog.h"

#include "editor/type_controls.h"
#include "ui/check_box.h"
#include "ui/resources/resource_ids.h"

TSelectDialog::TSelectDialog(QWidget* parent, TTypeFlags* flags)
    : TDialog(parent, TemplateId::kSelect), flags_(flags) {}

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
