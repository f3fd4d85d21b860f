#include "editor/type_dialog.h"

#include <QLabel>
#include <algorithm>

#include "editor/type_controls.h"
#include "ui/radio_button.h"

namespace {

constexpr int kGroupBox = 106;

}  // namespace

TTypeDialog::TTypeDialog(QWidget* parent, TTypeFlags* flags, std::string_view question)
    : TDialog(parent, "601"), flags_(flags), question_(question) {}

void TTypeDialog::SetupWindow() {
  TDialog::SetupWindow();
  questionStatic_ = AddStatic(question_, 10, 10, 300, 35);
  // A long question in a large font would be cut there: it takes the dialog's width, less the
  // same margin, and the height it needs down to the group box.
  if (questionStatic_->heightForWidth(300) > 35) {
    const int w = std::max(300, width() - 20);
    int h = std::max(35, questionStatic_->heightForWidth(w));
    if (const QWidget* group = Control(kGroupBox)) h = std::min(h, group->y() - 10);
    questionStatic_->setGeometry(10, 10, w, h);
  }
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
