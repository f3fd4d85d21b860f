#include "ui/radio_button.h"

void TRadioButton::SetCheck(bool checked) {
  if (checked || !autoExclusive()) {
    setChecked(checked);
    return;
  }
  setAutoExclusive(false);
  setChecked(false);
  setAutoExclusive(true);
}
