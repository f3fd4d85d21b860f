#include "keypad/keypad_dialog.h"

#include <QPushButton>
#include <algorithm>

TKeypadDialog::TKeypadDialog(QWidget* parent, const std::string& templateName,
                             TKeypad::Config config)
    : TDialog(parent, templateName), keypad_(config) {
  if (const TDialogTemplate* dialogTemplate = Template()) {
    for (const TControlTemplate& control : dialogTemplate->controls) {
      if (control.id < TKeypad::kFirstElement || control.id > TKeypad::kLastSubscript) continue;
      if (!Button(control.id)) continue;
      keyIds_.push_back(control.id);
      Bind(control.id, [this, id = control.id] { PressKey(id); });
    }
  }
  Bind(TKeypad::kRestart, [this] { keypad_.CmRestart(); });
  Bind(TKeypad::kUndo, [this] { keypad_.CmUndo(); });
  keypad_.SetChangeHandler([this] { ReflectKeys(); });
}

void TKeypadDialog::PressKey(int id) {
  // The symbols appended are the ones the button shows.
  keypad_.Press(id, Button(id)->text().toStdString());
}

void TKeypadDialog::ReflectKeys() {
  for (int id : keyIds_) EnableButton(id, keypad_.IsEnabled(id));
  RepaintDisplay();
}

int TKeypadDialog::ShiftBelowKeys(int top) const {
  constexpr int kGap = 2;  // as the original layout leaves below the last row
  int keysBottom = 0;
  for (int id : keyIds_) {
    const QRect key = Button(id)->geometry();
    keysBottom = std::max(keysBottom, key.y() + key.height());
  }
  return std::max(0, keysBottom + kGap - top);
}
