#pragma once
#include <functional>
#include <string>
#include <vector>

#include "model/assignment.h"
#include "results/results_location.h"
#include "ui/dialog.h"

class QTreeWidget;
class TResultsStore;

// The class's store as the editor gives and changes assignments in it. Each use opens the store
// off the window's thread and closes it there, since a connection belongs to the thread that
// made it: a class server that does not answer takes seconds, and the window keeps drawing
// meanwhile, with a Cancel after a moment. Keeps what the last use found.
class TClassStore {
 public:
  explicit TClassStore(TResultsLocation location = {}) : location_(std::move(location)) {}

  // Opens the store and, when it opens, hands it to work on the work's thread, which must touch
  // no widget. False when cancelled; the work has ended all the same and what it found is kept.
  bool Use(QWidget* owner, const std::function<void(TResultsStore&)>& work = {});

  const TResultsLocation& Location() const { return location_; }
  bool IsOpen() const { return open_; }
  bool IsReadOnly() const { return readOnly_; }
  bool SeesEveryone() const { return seesEveryone_; }
  const std::string& Login() const { return login_; }
  // As TResultsStore's, after the work.
  const std::string& Error() const { return error_; }
  const std::string& ErrorInSentence() const { return errorInSentence_; }
  const std::string& Details() const { return details_; }

 private:
  TResultsLocation location_;
  bool open_ = false;
  bool readOnly_ = false;
  bool seesEveryone_ = false;
  std::string login_;
  std::string error_;
  std::string errorInSentence_;
  std::string details_;
};

// "Your Assignments": the assignments of the class's store, the newest first, with their due
// dates and whether they are still offered. Change... changes a title and due date, Withdraw...
// stops offering one (its answers stay in the store). Each change is written at once.
class TAssignmentListDialog : public TDialog {
  Q_OBJECT

 public:
  static constexpr int kCmChange = 101;
  static constexpr int kCmWithdraw = 102;
  static constexpr int kWhere = 104;

  // store opened for writing by a login that may write assignments, and held assignments, as
  // read from it in store order.
  TAssignmentListDialog(QWidget* parent, TClassStore& store, std::vector<TAssignment> assignments);

  QTreeWidget* List() const { return list_; }
  const std::vector<TAssignment>& Assignments() const { return assignments_; }

 protected:
  void SetupWindow() override;

 private:
  void CmChange();
  void CmWithdraw();
  // The assignment of the chosen row; null when none is chosen.
  TAssignment* Chosen();
  // Shows the assignments, read in store order, the newest first.
  void Fill(std::vector<TAssignment> assignments);
  // Writes the changed assignment and reads the list again; tells the teacher on a failure.
  void Write(const TAssignment& changed);
  void EnableButtons();

  TClassStore& store_;
  std::vector<TAssignment> assignments_;
  QTreeWidget* list_;
};
