#include "ui/check_box.h"

#include "ui/indicator_outline.h"

void TCheckBox::SetCheck(bool checked) {
  setChecked(checked);
}

void TCheckBox::paintEvent(QPaintEvent* event) {
  QCheckBox::paintEvent(event);
  OutlineIndicator(*this);
}
