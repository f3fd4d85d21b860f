#include "editor/type_dialog.h"

#include <QLabel>
#include <algorithm>

#include "editor/type_controls.h"
#include "ui/radio_button.h"
#include "ui/resources/resource_ids.h"

namespace {

constexpr int kGroupBox = 106;

}  // namespace

TTypeDialog::TTypeDialog(QWidget* parent, TTypeFlags* flags, std::string_view question)
    : TDialog(parent, TemplateId::kType), flags_(flags), question_(question) {}

void TTypeDialog::SetupWindow() {
  TDialog::SetupWindow();
  const QRect place = ScaledRect(10, 10, 300, 35);
  questionStatic_ = AddStatic(question_, place.x(), place.y(), place.width(), place.height());
  // A long question in a large font would be cut there: it takes the dialog's width, less the
  // same margin, and the height it needs down to the group box, or more, the dialog growing.
  const auto needed = [this](int w) {
    return questionStatic_->fontMetrics()
        .boundingRect(QRect(0, 0, w, 1 << 20), Qt::TextWordWrap, questionStatic_->text())
        .height();
  };
  if (needed(place.width()) > place.height()) {
    const int w = std::max(place.width(), width() - 2 * place.x());
    const int h = std::max(place.height(), needed(w));
    if (const QWidget* group = Control(kGroupBox))
      GrowDownFrom(group->y(), h - (group->y() - place.y()));
    questionStatic_->setGeometry(place.x(), place.y(), w, h);
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
  CloseWindow(kOk);
}
