#pragma once
#include <cstdint>
#include <functional>

#include "keypad/keypad_dialog.h"
#include "model/comparison_table.h"
#include "model/reaction.h"

class TAnswerWindow;

// The dialog on which the student answers one question: the question text, the keypad in
// equation mode and the equation strip. "&Check" (id 1) runs the check function given, which
// grades, coaches and closes the dialog (1 when right, 7 otherwise); "Quit" closes it with 2
// and writes nothing.
class TEquationDialog : public TKeypadDialog {
  Q_OBJECT

 public:
  using TCheck = std::function<void(TEquationDialog&)>;

  TEquationDialog(QWidget* parent, const TReaction& reaction, ComparisonTable* studentTable,
                  int32_t* points, TCheck check);

  const TReaction& Reaction() const { return reaction_; }
  // Holds the student's equation; after the run it is the equation as the grading left it.
  TAnswerWindow* AnswerWindow() const { return answerWindow_; }
  ComparisonTable& StudentTable() { return *studentTable_; }
  int32_t* Points() { return points_; }

 protected:
  void SetupWindow() override;
  void RepaintDisplay() override;
  void ShowPending(const std::string& pending) override;

 private:
  void CmCheck();

  const TReaction& reaction_;
  ComparisonTable* studentTable_;
  int32_t* points_;
  TCheck check_;
  TAnswerWindow* answerWindow_;
};
