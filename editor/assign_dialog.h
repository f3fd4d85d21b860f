#pragma once
#include <QString>
#include <string>

#include "editor/rules/assignment_draft.h"
#include "ui/dialog.h"

class QDateTimeEdit;
class QSpinBox;

// "Assign": the title, the due date and time (shown in this computer's time, kept in UTC) and
// whether each student gets the questions in the listed order or shuffled; for practice of each
// student's own mistakes (a draft with a practice count), how many questions instead. OK checks the draft
// (DraftProblem) and writes it; Cancel writes nothing. Changing an assignment given already
// offers the title and due date only: its questions and their order stay as given.
class TAssignDialog : public TDialog {
  Q_OBJECT

 public:
  static constexpr int kTitle = 101;
  static constexpr int kListed = 103;
  static constexpr int kShuffled = 104;
  static constexpr int kAbout = 105;

  // questions: how many the assignment gives, said under the choices.
  TAssignDialog(QWidget* parent, TAssignmentDraft* draft, int questions, bool changing = false);

  QDateTimeEdit* DueEdit() const { return due_; }
  QSpinBox* CountEdit() const { return count_; }
  // A due date as the teacher and her students read it, in this computer's time:
  // "Wed 9 Dec 2026, 08:00"; the text itself when it is not a time.
  static QString DueShown(const std::string& iso);

 protected:
  void SetupWindow() override;
  void CmOk() override;

 private:
  TAssignmentDraft* draft_;
  int questions_;
  bool changing_;
  QDateTimeEdit* due_;
  QSpinBox* count_ = nullptr;
};
