#pragma once
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "results/results_summary.h"
#include "results/results_view.h"

class QChart;
class QChartView;
class QComboBox;
class QFormLayout;
class QGridLayout;
class QScrollArea;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class TAssignmentsPage;
class QTemporaryDir;
class TFiguresReader;
class QTimer;
class TResultsStore;
struct TResultsLocation;

// "Results": what the class learned, from the working folder's results file, the class
// server, or files opened together: the quiz runs, points per reaction type at the first try
// and after coaching, the coaching each type needed, and the questions missed most. Only
// shows; the store reads and writes. It reads again whenever it is shown, on Refresh (F5),
// after an answer of this program, and every few seconds while it shows this computer's store
// or the class server, which others write too; files opened together are a snapshot.
class TResultsWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRunsShown = 500;
  static constexpr int kRereadMilliseconds = 5000;
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

  TResultsStore& Shown() { return view_.Store(); }
  QTableWidget* RunsTable() const { return runs_; }
  QTableWidget* MissedTable() const { return missed_; }
  QChart* TypeChart() const;
  QChart* MistakeChart() const;
  QLabel* TypeChartTitle() const { return typeTitle_; }
  QLabel* MistakeChartTitle() const { return mistakeTitle_; }
  // Whether each kind of coaching is needed less than the fortnight before, in words.
  QLabel* TrendLabel() const { return trend_; }
  QComboBox* StudentChoice() const { return student_; }
  QLabel* SourceLabel() const { return source_; }
  QLabel* WaitingLabel() const { return waiting_; }
  // The line naming the answers the class server's figures leave out for their scores.
  QLabel* LeftOutLabel() const { return leftOut_; }
  QPushButton* ClearButton() const { return clear_; }
  QLineEdit* StudentNameEdit() const { return studentName_; }
  QLineEdit* ServerEdit() const { return server_; }
  QLabel* ReadAtLabel() const { return readAt_; }
  QTimer* RereadTimer() const { return rereadTimer_; }
  QTabWidget* Pages() const { return pages_; }
  TAssignmentsPage* AssignmentsPage() const { return assignments_; }

  // Reads the summaries again for the student chosen.
  void Refresh();
  // Reads the store shown again: this computer's results opened afresh where the file is new
  // or the place changed, the files opened together read again.
  void ReadAgain();
  // After an answer was kept: read again, when this computer's results are shown.
  void AnswerKept();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  // The line naming the source, the choice of student and the commands.
  void BuildCommands();
  // The student's name and the class server's address.
  QFormLayout* BuildSettings();
  // The charts and tables, with their titles.
  void BuildFigures();
  // The charts and tables two by two where the window is wide enough for two charts' names and
  // bars in its font, one under the other where it is not.
  void PlaceFigures();
  void PlaceCommands();
  // The window manager's frame round the window, or room kept for one not made yet.
  QSize FrameAllowance() const;
  void FitOnScreen();
  void UpdateRereading();
  void FillStudents();
  void FillStudents(const std::vector<std::string>& students);
  // Shows figures read at now, leaving the tables as they are when nothing changed.
  void ShowFigures(TResultsFigures figures, const QString& now);
  // What the reading off the window's thread brought, once it has ended.
  void TakeFigures();
  // The line saying how many answers wait on this computer for the store, when any do.
  void ShowWaiting(const TResultsLocation& location);
  // Whether the class server lets this login read its results; false, with why in failed.
  bool ServerAnswers(const TResultsLocation& location, TResultsStore& failed);
  // The line naming what is shown, and whether Clear... is offered.
  void ShowSource();
  // From figures_.
  void FillRuns();
  void FillTypeChart();
  void FillMistakeChart();
  void FillMissed();
  void FillLeftOut();
  void SaveStudentName();
  void SaveServer();
  std::string ChosenStudent() const;
  void Warn(const std::string& text);

  // What is shown and when it is read again.
  TResultsView view_;
  // Where files opened together are merged, one file per Open...
  std::unique_ptr<QTemporaryDir> mergeFolder_;
  int merges_ = 0;
  QLabel* source_;
  QLabel* waiting_;
  QLabel* leftOut_;
  QLabel* readAt_;
  QTimer* rereadTimer_;
  std::unique_ptr<TFiguresReader> reader_;
  QComboBox* student_;
  QLabel* showLabel_;
  QLineEdit* studentName_;
  QLineEdit* server_;
  QPushButton* clear_;
  QTabWidget* pages_;
  TAssignmentsPage* assignments_;
  QTableWidget* runs_;
  QTableWidget* missed_;
  QLabel* typeTitle_;
  QLabel* mistakeTitle_;
  QLabel* trend_;
  QWidget* mistakeHead_;
  QGridLayout* commands_;
  std::vector<QPushButton*> commandButtons_;
  int commandColumns_ = 0;
  QGridLayout* figuresGrid_;
  QScrollArea* figuresScroller_;
  QLabel* runsTitle_;
  QLabel* missedTitle_;
  int figuresAcross_ = 0;  // charts side by side, once placed: 1 or 2
  QChartView* typeView_ = nullptr;
  QChartView* mistakeView_ = nullptr;
  TChooseFiles chooseFiles_;
  TChooseSaveFile chooseSaveFile_;
};
