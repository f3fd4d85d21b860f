#pragma once
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TResultsStore;
struct TResultsLocation;

// "Results": what the class learned, from the working folder's results file, the class
// server, or files opened together: the quiz runs, points per reaction type at the first try
// and after coaching, the coaching each type needed, and the questions missed most. Only
// shows; the store reads and writes.
class TResultsWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRunsShown = 500;
  // The file choosers, replaceable so that tests need no person.
  using TChooseFiles = std::function<QStringList(QWidget*)>;
  using TChooseSaveFile = std::function<QString(QWidget*)>;

  explicit TResultsWindow(QWidget* parent = nullptr);
  ~TResultsWindow() override;

  void SetFileChoosers(TChooseFiles open, TChooseSaveFile save);

  // Shows the store of this account's settings again (after Open...).
  void ShowOwnResults();
  // Shows these results files together, each answer once; false if none could be read.
  bool OpenFiles(const QStringList& paths);
  void CmOpen();
  void CmExportCsv();
  void CmClear();

  TResultsStore& Shown() { return *shown_; }
  QTableWidget* RunsTable() const { return runs_; }
  QTableWidget* MissedTable() const { return missed_; }
  QChart* TypeChart() const;
  QChart* MistakeChart() const;
  QComboBox* StudentChoice() const { return student_; }
  QLabel* SourceLabel() const { return source_; }
  QLabel* WaitingLabel() const { return waiting_; }
  QPushButton* ClearButton() const { return clear_; }
  QLineEdit* StudentNameEdit() const { return studentName_; }
  QLineEdit* ServerEdit() const { return server_; }

  // Reads the summaries again for the student chosen.
  void Refresh();
  // After an answer was kept: this computer's results opened afresh (the file may be new).
  void AnswerKept();

 private:
  void BuildLayout();
  void FillStudents();
  // The line saying how many answers wait on this computer for the store, when any do.
  void ShowWaiting(const TResultsLocation& location);
  void FillRuns(const std::string& student);
  void FillTypeChart(const std::string& student);
  void FillMistakeChart(const std::string& student);
  void FillMissed();
  void SaveStudentName();
  void SaveServer();
  std::string ChosenStudent() const;
  void Warn(const std::string& text);

  std::unique_ptr<TResultsStore> shown_;
  bool showingOwn_ = true;
  QLabel* source_;
  QLabel* waiting_;
  QComboBox* student_;
  QLineEdit* studentName_;
  QLineEdit* server_;
  QPushButton* clear_;
  QTableWidget* runs_;
  QTableWidget* missed_;
  QChartView* typeView_;
  QChartView* mistakeView_;
  TChooseFiles chooseFiles_;
  TChooseSaveFile chooseSaveFile_;
};
