#include "editor/change_dialog.h"

#include <QLineEdit>

#include "ui/resources/resource_ids.h"

TChangeDialog::TChangeDialog(QWidget* parent, std::string* entry)
    : TDialog(parent, TemplateId::kChange), entry_(entry) {}

void TChangeDialog::SetupWindow() {
  TDialog::SetupWindow();
  if (QLineEdit* edit = Edit(kNumberEdit)) {
    edit->setText(QString::fromStdString(*entry_));
    edit->selectAll();
    edit->setFocus();
  }
}

void TChangeDialog::CmOk() {
  if (QLineEdit* edit = Edit(kNumberEdit)) *entry_ = edit->text().left(4).toStdString();
  CloseWindow(kOk);
}
