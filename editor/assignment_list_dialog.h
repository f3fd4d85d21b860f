#pragma once
#include <vector>

#include "model/assignment.h"
#include "ui/dialog.h"

class QTreeWidget;
class TResultsStore;

// "Your Assignments": the assignments of the class's store, the newest first, with their due
// dates and whether they are still offered. Change... changes a title and due date, Withdraw...
// stops offering one (its answers stay in the store). Each change is written at once.
class TAssignmentListDialog : public TDialog {
  Q_OBJECT

 public:
  static constexpr int kCmChange = 101;
  static constexpr int kCmWithdraw = 102;
  static constexpr int kWhere = 104;

  // store is open for writing, by a login that may write assignments.
  TAssignmentListDialog(QWidget* parent, TResultsStore& store);

  QTreeWidget* List() const { return list_; }
  const std::vector<TAssignment>& Assignments() const { return assignments_; }

 protected:
  void SetupWindow() override;

 private:
  void CmChange();
  void CmWithdraw();
  // The assignment of the chosen row; null when none is chosen.
  TAssignment* Chosen();
  void Fill();
  // Writes the changed assignment; tells the teacher and reads the list again on a failure.
  void Write(const TAssignment& changed);
  void EnableButtons();

  TResultsStore& store_;
  std::vector<TAssignment> assignments_;
  QTreeWidget* list_;
};
