#pragma once
#include <string>
#include <vector>

#include "keypad/rules/keyboard_input.h"
#include "keypad/rules/keypad.h"
#include "ui/dialog.h"

class QLabel;

// A dialog that carries the formula keypad: adds the keys of the key table to its template's
// command buttons (without "+" and "->" where the keypad has none), binds every key (101-203) and
// the Restart (205) and Undo (206) buttons to its TKeypad, and after every change greys the keys
// the keypad refuses and repaints the dialog's display strips. Which equation or formula the
// keypad works on is set by the derived dialog in its SetupWindow.
//
// Typing is a shortcut for the keys: typed characters, Backspace and a paste go to a
// TKeyboardInput, which presses the same keys; a hint line says so and tells why characters
// were refused. While typing goes to the keypad every printable character is typed, also with
// a command button focused: a blank never presses Check or Restart half way through an answer.
// Enter, the Alt letters and the mouse press the buttons as ever.
class TKeypadDialog : public TDialog {
  Q_OBJECT

 public:
  TKeypadDialog(QWidget* parent, const std::string& templateName, TKeypad::Config config);

  // The keys as controls of a dialog template (14 x 14 dialog units at the key table's places);
  // withPlusArrow adds "+" (192) and "->" (193).
  static std::vector<TControlTemplate> KeyControls(bool withPlusArrow);

  TKeypad& Keypad() { return keypad_; }
  const TKeypad& Keypad() const { return keypad_; }
  TKeyboardInput& Typing() { return typing_; }
  QLabel* HintLine() const { return hint_; }

 protected:
  void SetupWindow() override;
  // Repaints whatever shows the keypad's work; called after every change.
  virtual void RepaintDisplay() {}

  // How far a strip placed at top y must move down so that it covers none of the keys. The
  // strips' pixel offsets from the dialog's bottom suit the font the dialog was designed for;
  // with a shorter font the keypad ends lower and would be overlapped.
  int ShiftBelowKeys(int top) const;

  // Shows what waits for the next typed character; called after every typed key.
  virtual void ShowPending(const std::string& /*pending*/) {}
  // Whether typed characters go to the keypad now (the new-question dialog: while its strip
  // has the focus).
  virtual bool TypingGoesToKeypad() const { return true; }
  // Puts the hint line under a strip, as wide as the dialog allows, growing the dialog below
  // the strip where the line does not fit above the buttons.
  void PlaceHintBelow(const QWidget& strip, bool centred = false);
  void SetHintText(std::string text);

  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Typed characters sent to a focused command button are typed into the strip instead.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool HasKey(int id) const;
  void PressKey(int id);
  void ReflectKeys();
  // Element keys take a tint of their block of the periodic table, from the dialog's palette.
  void TintElementKeys();
  bool TypeKey(QKeyEvent* event);
  void PasteClipboard();
  // Shows the hint again, or why the characters of this typed run were refused (with a beep
  // for a new refusal).
  void AfterTyping(bool refused);
  // A click, Backspace, Undo, Restart or a paste ends a typed run and its list of refusals.
  void EndTypedRun();
  void ShowHint(const std::string& text);
  bool IsCommandButton(const QObject* object) const;

  TKeypad keypad_;
  TKeyboardInput typing_{keypad_};
  QLabel* hint_ = nullptr;
  std::string hintText_;
  // The characters refused since the typed run began.
  std::vector<TKeyboardInput::Refusal> refusals_;
  std::vector<int> keyIds_;  // the keypad keys this template carries
};
