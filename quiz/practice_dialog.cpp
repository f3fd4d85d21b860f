#include "quiz/practice_dialog.h"

#include <QLabel>

#include "ui/combo_box.h"
#include "ui/resources/resource_ids.h"

TPracticeDialog::TPracticeDialog(QWidget* parent, std::function<std::string(int)> why, int count,
                                 std::string note)
    : TDialog(parent, TemplateId::kPractice),
      why_(std::move(why)),
      count_(count),
      note_(std::move(note)) {}

void TPracticeDialog::SetupWindow() {
  TDialog::SetupWindow();
  for (int id : {kWhy, kNote}) qobject_cast<QLabel*>(Control(id))->setWordWrap(true);
  qobject_cast<QLabel*>(Control(kNote))->setText(QString::fromStdString(note_));
  TComboBox* counts = ComboBox(kCount);
  for (int count : kCounts) counts->AddString(std::to_string(count));
  counts->SetText(std::to_string(count_));
  connect(counts, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    count_ = text.toInt();
    ShowWhy();
  });
  ShowWhy();
}

void TPracticeDialog::ShowWhy() {
  qobject_cast<QLabel*>(Control(kWhy))->setText(QString::fromStdString(why_(count_)));
}

std::string TPracticeDialog::WhyShown() const {
  return qobject_cast<QLabel*>(Control(kWhy))->text().toStdString();
}
