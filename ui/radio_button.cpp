#include "ui/radio_button.h"

#include "ui/indicator_outline.h"

void TRadioButton::SetCheck(bool checked) {
  if (checked || !autoExclusive()) {
    setChecked(checked);
    return;
  }
  setAutoExclusive(false);
  setChecked(false);
  setAutoExclusive(true);
}

void TRadioButton::paintEvent(QPaintEvent* event) {
  QRadioButton::paintEvent(event);
  OutlineIndicator(*this);
}
