#pragma once
#include <string>
#include <string_view>

#include "keypad/keypad_dialog.h"
#include "model/question_record.h"

class QLabel;
class QLineEdit;
class TAnswerWindow;

// The teacher's question and answer: the question typed into an edit box, the answer built on
// the keypad in equation mode ("(" only at the start of the first reactant). OK checks that
// the question is complete and fills the caller's record; Cancel leaves it for the caller to
// ignore.
class TNewQuestionDialog : public TKeypadDialog {
  Q_OBJECT

 public:
  static constexpr int kQuestionEdit = 207;
  static constexpr int kMaxQuestion = 99;

  // question is single-byte text, as stored in reactions.
  TNewQuestionDialog(QWidget* parent, QuestionRecord* record, std::string_view question);

  // Opens with this answer already keyed, as it was typed before (the teacher went back to it).
  void StartWith(const QuestionRecord& record);

  TAnswerWindow* AnswerWindow() const { return answerWindow_; }
  QLineEdit* QuestionEdit() const;
  // "62/99": how many of the question's characters are used.
  QLabel* LengthStatic() const { return lengthStatic_; }

 protected:
  void SetupWindow() override;
  void RepaintDisplay() override;
  void ShowPending(const std::string& pending) override;
  bool TypingGoesToKeypad() const override;
  void CmOk() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows a warning over the dialog, which stays open.
  void Refuse(const std::string& text);
  void WriteAnswer();
  void ShowLength();

  QuestionRecord* record_;
  std::string question_;
  TAnswerWindow* answerWindow_;
  QLabel* lengthStatic_ = nullptr;
  std::u32string startAnswer_;  // typed into the answer when the dialog opens
};
