#pragma once
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "model/answer_record.h"
#include "results/assignment_grid.h"

class QLabel;
class QTableWidget;
class TResultsStore;

// The results window's Assignments page: a row per student, a column per assignment given,
// each cell "not started", "3 of 10", "84%" or "84%, late"; choosing a cell shows that
// student's answers to the assignment with the coaching they needed. A student's login sees
// her own row alone (the store gives no other). Reads the store the window shows whenever the
// page comes into view and when the window reads again while it shows; never by itself.
class TAssignmentsPage : public QWidget {
  Q_OBJECT

 public:
  // The store shown and the student chosen ("" for everyone), asked for at each reading, since
  // the window changes both.
  using TStoreShown = std::function<TResultsStore&()>;
  using TStudentChosen = std::function<std::string()>;
  using TChooseSaveFile = std::function<QString(QWidget*)>;
  // Why the window shows no store at all ("" when it shows one): the page says the same.
  using TWhyNone = std::function<QString()>;

  TAssignmentsPage(TStoreShown store, TStudentChosen student, TWhyNone whyNone,
                   QWidget* parent = nullptr);

  // Replaceable so that tests need no person.
  void SetSaveChooser(TChooseSaveFile choose) { chooseSaveFile_ = std::move(choose); }
  // Reads the grid again if the page is in view (it is read when it comes into view anyway).
  void ReadIfShown();
  void Read();
  // Shows the answers of the cell's student to the cell's assignment.
  void ChooseCell(int row, int column);
  // Export Gradebook...: the grid as CSV, a row per student and a column per assignment.
  void CmExportGradebook();

  const TAssignmentGrid& Grid() const { return grid_; }
  QTableWidget* GridTable() const { return table_; }
  QTableWidget* AnswersTable() const { return answers_; }
  QLabel* NoteLabel() const { return note_; }
  QLabel* AnswersLabel() const { return answersTitle_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillGrid();
  void FillAnswers(const std::vector<TAnswerRecord>& answers);

  TStoreShown store_;
  TStudentChosen student_;
  TWhyNone whyNone_;
  TChooseSaveFile chooseSaveFile_;
  TAssignmentGrid grid_;
  QLabel* note_;
  QTableWidget* table_;
  QLabel* answersTitle_;
  QTableWidget* answers_;
};
