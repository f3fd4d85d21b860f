#pragma once
#include <string>

#include "keypad/keypad_dialog.h"
#include "model/equation.h"
#include "model/reaction.h"

class TAnswerWindow;
class TBlankWindow;
class TEditWindow;

// Corrects one substance of the student's equation that does not belong there: the student
// builds a replacement on the keypad (OK) or deletes it (Delete); "&Answer" gives up and
// leaves the equation as it was. All editing is done on a working copy of the equation, which
// OK and Delete copy back. Returns 1 when the student went on, 2 for "&Answer".
class TEditSubstanceDialog : public TKeypadDialog {
  Q_OBJECT

 public:
  static constexpr int kDelete = 207;

  TEditSubstanceDialog(QWidget* parent, const TReaction& reaction, TFormula* wrongSubstance,
                       TEquation* equation, bool reactantSide);

  // The formula the keypad builds: in the working copy, or a new one when adding.
  TFormula* EditedFormula() const { return Keypad().Formula(); }
  const TEquation& WorkingCopy() const { return working_; }
  TAnswerWindow* AnswerWindow() const { return answerWindow_; }
  TBlankWindow* MessageWindow() const { return messageWindow_; }
  TEditWindow* EditWindow() const { return editWindow_; }

 protected:
  // The dialog on that template: the add dialog's is its own.
  TEditSubstanceDialog(QWidget* parent, const char* templateId, const TReaction& reaction,
                       TFormula* wrongSubstance, TEquation* equation, bool reactantSide);

  void SetupWindow() override;
  void RepaintDisplay() override;
  void ShowPending(const std::string& pending) override;
  void CmOk() override;
  // The Delete key presses Delete, as the message tells the student.
  void keyPressEvent(QKeyEvent* event) override;

  // The two lines of the message strip; the first is appended after the wrong substance.
  virtual std::string FirstLineText() const;
  virtual std::string SecondLineText() const;
  // The formula that the keypad will build, chosen once the working copy exists.
  virtual TFormula* ChooseEditedFormula();

  TEquation& CallersEquation() { return *equation_; }
  bool ReactantSide() const { return reactantSide_; }

 private:
  void CmDelete();
  void FillMessage();
  void PlaceWindows();

  const TReaction& reaction_;
  TFormula* wrongSubstance_;
  TEquation* equation_;
  bool reactantSide_;
  TEquation working_;
  TAnswerWindow* answerWindow_;
  TBlankWindow* messageWindow_;
  TEditWindow* editWindow_;
};
