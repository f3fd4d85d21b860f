#include "ui/combo_box.h"

#include <QLineEdit>

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent) {
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void TComboBox::SetTextLimit(int limit) {
  textLimit_ = std::max(0, limit);
  if (lineEdit()) lineEdit()->setMaxLength(textLimit_ > 0 ? textLimit_ : 32767);
}

int TComboBox::AddString(const std::string& text) {
  addItem(QString::fromStdString(text));
  // The style's arrow is wider than a template allows for; the box grows to show every item.
  if (width() < sizeHint().width()) resize(sizeHint().width(), height());
  return count() - 1;
}

bool TComboBox::SetText(const std::string& text) {
  QString qtext = QString::fromStdString(text);
  int index = findText(qtext, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) {
    setCurrentIndex(index);
    return true;
  }
  if (!isEditable()) return false;
  setEditText(qtext);
  return true;
}

std::string TComboBox::GetText() const {
  std::string text = currentText().toStdString();
  if (textLimit_ > 0 && static_cast<int>(text.size()) > textLimit_) text.resize(textLimit_);
  return text;
}
