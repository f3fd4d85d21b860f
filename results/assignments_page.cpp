#include "results/assignments_page.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/question_outcome.h"
#include "results/assignment_progress.h"
#include "results/csv_export.h"
#include "results/gradebook_export.h"
#include "results/qstring_of.h"
#include "results/results_store.h"
#include "ui/message_box.h"

namespace {

QTableWidget* ReadOnlyTable(const QStringList& headers) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()));
  table->setHorizontalHeaderLabels(headers);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  table->setWordWrap(true);
  return table;
}

QTableWidgetItem* Cell(const std::string& text) {
  return new QTableWidgetItem(QStringOf(text));
}

// Kept in UTC, shown in this computer's time as the runs' table shows its dates.
QString InLocalTime(const std::string& utc) {
  const QDateTime time = QDateTime::fromString(QStringOf(utc), Qt::ISODate);
  return time.isValid() ? time.toLocalTime().toString("yyyy-MM-dd hh:mm") : QStringOf(utc);
}

// "Homework 3" over "due 2026-12-09 08:00".
QString Heading(const TAssignment& assignment) {
  return QStringOf(assignment.title) + "\ndue " + InLocalTime(assignment.due);
}

}  // namespace

TAssignmentsPage::TAssignmentsPage(TStoreShown store, TStudentChosen student, TWhyNone whyNone,
                                   QWidget* parent)
    : QWidget(parent),
      store_(std::move(store)),
      student_(std::move(student)),
      whyNone_(std::move(whyNone)) {
  chooseSaveFile_ = [](QWidget* owner) {
    return QFileDialog::getSaveFileName(owner, "Export Gradebook", "tarvolin-gradebook.csv",
                                        "CSV files (*.csv)");
  };
  note_ = new QLabel;
  note_->setWordWrap(true);
  note_->setTextFormat(Qt::PlainText);
  table_ = ReadOnlyTable({});
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setAccessibleName("Assignments by student");
  connect(table_, &QTableWidget::currentCellChanged, this,
          [this](int row, int column) { ChooseCell(row, column); });
  answersTitle_ = new QLabel;
  answersTitle_->setWordWrap(true);
  answersTitle_->setTextFormat(Qt::PlainText);
  answers_ = ReadOnlyTable(
      {"Question", "First answer", "First try", "Ending", "Coaching needed", "Answered at"});
  answers_->setSelectionBehavior(QAbstractItemView::SelectRows);
  answers_->verticalHeader()->setVisible(false);
  // The question takes the room the others leave, wrapping where it needs more.
  answers_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  answers_->resizeColumnsToContents();
  answers_->setAccessibleName("Answers to the assignment");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note_);
  layout->addWidget(table_, 3);
  layout->addWidget(answersTitle_);
  layout->addWidget(answers_, 2);
}

void TAssignmentsPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Read();
}

void TAssignmentsPage::ReadIfShown() {
  if (isVisible()) Read();
}

void TAssignmentsPage::Read() {
  TResultsStore& store = store_();
  const QString none = whyNone_();
  grid_ = none.isEmpty() ? ReadAssignmentGrid(store, student_()) : TAssignmentGrid{};
  if (!none.isEmpty())
    note_->setText(none);
  else if (!store.Error().empty())
    note_->setText("The assignments cannot be read: " + QStringOf(store.ErrorInSentence()) + ".");
  else if (grid_.assignments.empty())
    note_->setText(
        "No assignments have been given here yet. A teacher gives one with Assign... in "
        "the editor.");
  else
    note_->setText(
        "A row per student, a column per assignment: the score is of first tries, "
        "\"late\" when finished after the due date. Choose a cell for that student's "
        "answers.");
  FillGrid();
}

void TAssignmentsPage::FillGrid() {
  // The cell chosen stays chosen when the same student and assignment are still there.
  const int row = table_->currentRow(), column = table_->currentColumn();
  const std::string student = row >= 0 && row < table_->rowCount()
                                  ? table_->verticalHeaderItem(row)->text().toStdString()
                                  : std::string();
  const QString heading = column >= 0 && column < table_->columnCount()
                              ? table_->horizontalHeaderItem(column)->text()
                              : QString();
  table_->blockSignals(true);
  table_->clear();
  table_->setRowCount(static_cast<int>(grid_.students.size()));
  table_->setColumnCount(static_cast<int>(grid_.assignments.size()));
  QStringList headings, students;
  for (const TAssignment& assignment : grid_.assignments) headings << Heading(assignment);
  for (const std::string& name : grid_.shown) students << QStringOf(name);
  table_->setHorizontalHeaderLabels(headings);
  table_->setVerticalHeaderLabels(students);
  for (std::size_t s = 0; s < grid_.students.size(); ++s)
    for (std::size_t a = 0; a < grid_.assignments.size(); ++a) {
      QTableWidgetItem* item = Cell(ProgressText(grid_.cells[s][a], true));
      item->setTextAlignment(Qt::AlignCenter);
      table_->setItem(static_cast<int>(s), static_cast<int>(a), item);
    }
  table_->resizeColumnsToContents();
  table_->resizeRowsToContents();
  const int newRow = students.indexOf(QStringOf(student));
  const int newColumn = headings.indexOf(heading);
  table_->blockSignals(false);
  if (newRow >= 0 && newColumn >= 0) {
    table_->setCurrentCell(newRow, newColumn);
    ChooseCell(newRow, newColumn);
  } else {
    answersTitle_->setText("Choose a cell to see that student's answers to the assignment.");
    answers_->setRowCount(0);
  }
}

void TAssignmentsPage::ChooseCell(int row, int column) {
  if (row < 0 || column < 0 || row >= static_cast<int>(grid_.students.size()) ||
      column >= static_cast<int>(grid_.assignments.size()))
    return;
  const TAssignment& assignment = grid_.assignments[column];
  const std::vector<TAnswerRecord> answers = store_().AnswersTo(grid_.students[row], assignment.id);
  answersTitle_->setText(QStringOf(grid_.shown[row] + "'s answers to " + assignment.title + " (" +
                                   ProgressText(grid_.cells[row][column], true) + ")" +
                                   (answers.empty() ? ": none yet." : ":")));
  FillAnswers(answers);
}

void TAssignmentsPage::FillAnswers(const std::vector<TAnswerRecord>& answers) {
  answers_->setRowCount(static_cast<int>(answers.size()));
  for (std::size_t n = 0; n < answers.size(); ++n) {
    const TAnswerRecord& r = answers[n];
    const int row = static_cast<int>(n);
    answers_->setItem(row, 0, Cell(r.question));
    answers_->setItem(row, 1, Cell(r.firstAnswer));
    answers_->setItem(row, 2,
                      Cell(std::to_string(r.firstScore) + " of " + std::to_string(kFullScore)));
    answers_->setItem(row, 3, Cell(std::string(EndingName(r.ending))));
    answers_->setItem(row, 4, Cell(CoachingText(r.coaching)));
    answers_->setItem(row, 5, new QTableWidgetItem(InLocalTime(r.answeredAt)));
  }
  // Fitted to their texts, the question then stretched again over the room left.
  QHeaderView* header = answers_->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  answers_->resizeRowsToContents();
}

void TAssignmentsPage::CmExportGradebook() {
  const QString path = chooseSaveFile_(this);
  if (path.isEmpty()) return;
  std::string why;
  if (!ExportGradebook(store_(), path, why))
    MessageBox(this, "The gradebook was not exported: " + why + ".", "Warning",
               MbIcon::Exclamation);
}
