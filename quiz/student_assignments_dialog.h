#pragma once
#include <string>
#include <vector>

#include "model/assignment.h"
#include "ui/dialog.h"

class QTreeWidget;
class TKeptAssignments;

// "Assignments": the student's open assignments (not withdrawn), the soonest due first, each
// with its due date and where she stands ("not started", "3 of 10", "done", "late"), and a
// line saying where the list was read. Start closes the dialog with kOk and the chosen one.
class TStudentAssignmentsDialog : public TDialog {
  Q_OBJECT

 public:
  static constexpr int kWhere = 103;

  TStudentAssignmentsDialog(QWidget* parent, const TKeptAssignments& kept, std::string student,
                            std::string where);

  QTreeWidget* List() const { return list_; }
  // The id of the assignment to start, once closed with kOk.
  const std::string& Chosen() const { return chosen_; }
  // The texts of each row, as shown.
  std::vector<std::vector<std::string>> Rows() const;

 protected:
  void SetupWindow() override;
  void CmOk() override;

 private:
  const TKeptAssignments& kept_;
  std::string student_;
  std::string where_;
  std::vector<const TAssignment*> shown_;
  std::string chosen_;
  QTreeWidget* list_;
};
