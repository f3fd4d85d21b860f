#pragma once
#include <chrono>
#include <functional>
#include <optional>

#include "keypad/keypad_dialog.h"
#include "model/question_outcome.h"
#include "model/reaction.h"

class TAnswerWindow;

// The dialog on which the student answers one question: the question text, the keypad in
// equation mode and the equation strip. "&Check" runs the check function given, which grades
// once and coaches while the answer is wrong; the dialog then closes with kRight or kShown.
// "Quit" (Escape, the close box) closes it with kQuit. Whichever way it closed, Outcome() is
// the question's one result.
class TEquationDialog : public TKeypadDialog {
  Q_OBJECT

 public:
  // The codes the dialog closes with.
  static constexpr int kRight = kOk;     // right, at the first Check or after coaching
  static constexpr int kQuit = kCancel;  // the quiz run ends on this question
  static constexpr int kShown = 7;       // still wrong when coaching ended: the answer is shown
  // The Check button's id.
  static constexpr int kCheck = 1;

  // Grades and coaches the equation as it stands; nothing, and the dialog stays open, when
  // there is nothing to check.
  using TCheck = std::function<std::optional<TCheckResult>(TEquationDialog&)>;

  TEquationDialog(QWidget* parent, const TReaction& reaction, TCheck check);

  // Runs the dialog and hands back how the question went.
  TQuestionOutcome Ask();
  // How the question went, once the dialog has closed.
  const TQuestionOutcome& Outcome() const { return outcome_; }

  const TReaction& Reaction() const { return reaction_; }
  // Holds the student's equation; after the run it is the equation as the grading left it.
  TAnswerWindow* AnswerWindow() const { return answerWindow_; }

  void done(int code) override;

 protected:
  void SetupWindow() override;
  void RepaintDisplay() override;
  void ShowPending(const std::string& pending) override;

 private:
  void CmCheck();

  const TReaction& reaction_;
  TCheck check_;
  TAnswerWindow* answerWindow_;
  std::chrono::steady_clock::time_point opened_ = std::chrono::steady_clock::now();
  TQuestionOutcome outcome_;
};
