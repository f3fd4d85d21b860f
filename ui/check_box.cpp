#include "ui/check_box.h"

void TCheckBox::SetCheck(bool checked) {
  setChecked(checked);
}
