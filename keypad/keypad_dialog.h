#pragma once
#include <string>
#include <vector>

#include "keypad/keypad.h"
#include "ui/dialog.h"

// A dialog that carries the formula keypad: binds every key of its template (101-203) and the
// Restart (205) and Undo (206) buttons to its TKeypad, and after every change greys the keys
// the keypad refuses and repaints the dialog's display strips. Which equation or formula the
// keypad works on is set by the derived dialog in its SetupWindow.
class TKeypadDialog : public TDialog {
  Q_OBJECT

 public:
  TKeypadDialog(QWidget* parent, const std::string& templateName, TKeypad::Config config);

  TKeypad& Keypad() { return keypad_; }
  const TKeypad& Keypad() const { return keypad_; }

 protected:
  // Repaints whatever shows the keypad's work; called after every change.
  virtual void RepaintDisplay() {}

  // How far a strip placed at top y must move down so that it covers none of the keys. The
  // strips' pixel offsets from the dialog's bottom suit the font the dialog was designed for;
  // with a shorter font the keypad ends lower and would be overlapped.
  int ShiftBelowKeys(int top) const;

 private:
  void PressKey(int id);
  void ReflectKeys();

  TKeypad keypad_;
  std::vector<int> keyIds_;  // the keypad keys this template carries
};
