#include "results/results_window.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <algorithm>

#include "results/answer_outbox.h"
#include "results/answer_sender.h"
#include "results/csv_export.h"
#include "results/password_file.h"
#include "results/qstring_of.h"
#include "results/results_settings.h"
#include "results/results_store.h"
#include "ui/help_viewer.h"
#include "ui/message_box.h"

namespace {

// Stored times are UTC; the teacher reads them in local time.
QString LocalTime(const std::string& utc) {
  QDateTime time = QDateTime::fromString(QStringOf(utc), Qt::ISODate);
  return time.isValid() ? time.toLocalTime().toString("yyyy-MM-dd hh:mm") : QStringOf(utc);
}

QTableWidget* MakeTable(const QStringList& headers) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()));
  table->setHorizontalHeaderLabels(headers);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& cells) {
  for (int column = 0; column < cells.size(); ++column) {
    auto* item = new QTableWidgetItem(cells[column]);
    item->setToolTip(cells[column]);
    table->setItem(row, column, item);
  }
}

QChart* NewChart(const QString& title) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

void AddAxes(QChart* chart, QBarSeries* series, const QStringList& categories, int top,
             const QString& valueTitle) {
  chart->addSeries(series);
  auto* x = new QBarCategoryAxis;
  x->append(categories);
  chart->addAxis(x, Qt::AlignBottom);
  series->attachAxis(x);
  auto* y = new QValueAxis;
  y->setRange(0, top);
  // Whole numbers only: a tick for every count while they are few.
  if (top <= 5)
    y->setTickCount(top + 1);
  else
    y->applyNiceNumbers();
  y->setLabelFormat("%d");
  y->setTitleText(valueTitle);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(y);
}

}  // namespace

TResultsWindow::TResultsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), shown_(std::make_unique<TResultsStore>()) {
  setWindowTitle("Results");
  setAttribute(Qt::WA_DeleteOnClose, false);
  chooseFiles_ = [](QWidget* owner) {
    return QFileDialog::getOpenFileNames(owner, "Open Results", QString(),
                                         "Results files (*.db);;All files (*)");
  };
  chooseSaveFile_ = [](QWidget* owner) {
    return QFileDialog::getSaveFileName(owner, "Export CSV", "tarvolin-results.csv",
                                        "CSV files (*.csv)");
  };
  BuildLayout();
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic("results", this); });
  resize(1040, 760);
  ShowOwnResults();
}

TResultsWindow::~TResultsWindow() = default;

void TResultsWindow::SetFileChoosers(TChooseFiles open, TChooseSaveFile save) {
  chooseFiles_ = std::move(open);
  chooseSaveFile_ = std::move(save);
}

void TResultsWindow::BuildLayout() {
  source_ = new QLabel;
  source_->setWordWrap(true);
  waiting_ = new QLabel;
  waiting_->setObjectName("waiting");
  waiting_->setWordWrap(true);
  waiting_->setVisible(false);
  student_ = new QComboBox;
  student_->setMinimumContentsLength(20);
  connect(student_, &QComboBox::activated, this, [this] { Refresh(); });
  auto* open = new QPushButton("&Open...");
  auto* own = new QPushButton("&This Computer's Results");
  auto* exportCsv = new QPushButton("&Export CSV...");
  clear_ = new QPushButton("C&lear...");
  connect(open, &QPushButton::clicked, this, &TResultsWindow::CmOpen);
  connect(own, &QPushButton::clicked, this, &TResultsWindow::ShowOwnResults);
  connect(exportCsv, &QPushButton::clicked, this, &TResultsWindow::CmExportCsv);
  connect(clear_, &QPushButton::clicked, this, &TResultsWindow::CmClear);

  auto* commands = new QHBoxLayout;
  commands->addWidget(new QLabel("Show:"));
  commands->addWidget(student_);
  commands->addStretch();
  for (QPushButton* button : {open, own, exportCsv, clear_}) commands->addWidget(button);

  const TResultsSettings settings;
  studentName_ = new QLineEdit(settings.StudentName());
  studentName_->setPlaceholderText(TResultsSettings::FullName().isEmpty()
                                       ? TResultsSettings::LoginName()
                                       : TResultsSettings::FullName());
  server_ = new QLineEdit(settings.Server());
  server_->setPlaceholderText("postgresql://user@host/dbname, or empty for this folder's file");
  // A password typed here goes to the password file; the field never shows one.
  server_->setToolTip("A password typed here is kept in " +
                      QStringOf(TPasswordFile::Path()) + " (readable by you alone), not shown.");
  QLabel* serverNote = nullptr;
  if (TResultsSettings::SetByEnvironment()) {
    TResultsLocation given;
    const std::string text = TResultsSettings::EnvironmentAddress().toStdString();
    server_->setText(QStringOf(TResultsLocation::Parse(text, given) ? given.Address() : text));
    server_->setReadOnly(true);
    serverNote = new QLabel("Set by TARVOLIN_RESULTS, which decides where the results go while it "
                            "is set.");
    serverNote->setWordWrap(true);
  }
  connect(studentName_, &QLineEdit::editingFinished, this, &TResultsWindow::SaveStudentName);
  connect(server_, &QLineEdit::editingFinished, this, &TResultsWindow::SaveServer);
  auto* settingsForm = new QFormLayout;
  settingsForm->addRow("Student name:", studentName_);
  settingsForm->addRow("Class server:", server_);
  if (serverNote) settingsForm->addRow(QString(), serverNote);

  typeView_ = new QChartView(NewChart("Points per reaction type"));
  mistakeView_ = new QChartView(NewChart("Coaching needed"));
  for (QChartView* view : {typeView_, mistakeView_}) {
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(420, 280);
  }
  runs_ = MakeTable({"Date", "Student", "Types chosen", "Points", "Percent"});
  missed_ = MakeTable({"Question", "Type", "Missed", "Asked", "Most common first answer"});
  missed_->setWordWrap(true);

  auto* grid = new QGridLayout;
  grid->addWidget(typeView_, 0, 0);
  grid->addWidget(mistakeView_, 0, 1);
  grid->addWidget(new QLabel("<b>Quiz runs</b>"), 1, 0);
  grid->addWidget(new QLabel("<b>Questions missed most often</b>"), 1, 1);
  grid->addWidget(runs_, 2, 0);
  grid->addWidget(missed_, 2, 1);
  grid->setRowStretch(0, 3);
  grid->setRowStretch(2, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source_);
  layout->addWidget(waiting_);
  layout->addLayout(commands);
  layout->addLayout(grid, 1);
  layout->addLayout(settingsForm);
}

QChart* TResultsWindow::TypeChart() const {
  return typeView_->chart();
}

QChart* TResultsWindow::MistakeChart() const {
  return mistakeView_->chart();
}

void TResultsWindow::Warn(const std::string& text) {
  MessageBox(this, text, "Warning", MbIcon::Exclamation);
}

void TResultsWindow::ShowOwnResults() {
  showingOwn_ = true;
  TResultsLocation location;
  std::string why;
  const bool readable = TResultsSettings().Location(location, &why);
  auto store = std::make_unique<TResultsStore>();
  QString text;
  bool opened = false;
  if (!readable) {
    store->OpenInMemory();
    text = QStringOf(why) + "; no results are shown.";
  } else if (!location.server && !QFileInfo::exists(QStringOf(location.file))) {
    // Looking must not create the file; the first answer does.
    store->OpenInMemory();
    text = "No answers have been recorded in " + QStringOf(location.file) + " yet.";
  } else if (store->Open(location, location.server ? TResultsStore::TMode::ReadWrite
                                                   : TResultsStore::TMode::ReadOnly)) {
    // Looking opens a file only for reading; Clear... opens it for writing when asked.
    opened = true;
    text = "Results in " + QStringOf(location.Describe()) + ".";
    if (!store->SeesEveryone())
      text = "Your results in " + QStringOf(location.Describe()) + " (login " +
             QStringOf(store->Login()) + "); the class server shows each student only their own.";
    if (!store->Notice().empty()) text += " " + QStringOf(store->Notice()) + ".";
  } else {
    text = "No results are shown: " + QStringOf(store->Error()) + ".";
    if (!store->Details().empty()) text += " (" + QStringOf(store->Details()) + ")";
    store->OpenInMemory();
  }
  shown_ = std::move(store);
  source_->setText(text);
  // Only a login that sees everyone may clear; a student's window has no Clear... at all.
  clear_->setVisible(shown_->SeesEveryone());
  clear_->setEnabled(opened && shown_->SchemaVersion() <= TResultsStore::kSchemaVersion);
  ShowWaiting(location);
  FillStudents();
  Refresh();
}

void TResultsWindow::ShowWaiting(const TResultsLocation& location) {
  TAnswerOutbox outbox;
  const QString path = QStringOf(TAnswerOutbox::DefaultPath());
  const int64_t waiting = QFileInfo::exists(path) && outbox.Open(path.toStdString()) ? outbox.Count() : 0;
  const std::string line = WaitingLine(waiting, location);
  waiting_->setText(line.empty() ? QString()
                                 : QStringOf(line) +
                                       " on this computer; they are sent as soon as it takes them.");
  waiting_->setVisible(!line.empty());
}

bool TResultsWindow::OpenFiles(const QStringList& paths) {
  auto merged = std::make_unique<TResultsStore>();
  if (!merged->OpenInMemory()) {
    Warn(merged->Error());
    return false;
  }
  QStringList shown;
  std::string failures;
  for (const QString& path : paths) {
    TResultsStore file;
    if (!file.Open(TResultsLocation::File(path.toStdString()), TResultsStore::TMode::ReadOnly) ||
        merged->Merge(file) < 0) {
      failures += "\n" + (file.Error().empty() ? merged->Error() : file.Error());
      continue;
    }
    shown << QFileInfo(path).fileName();
  }
  if (!failures.empty()) Warn("These results could not be read:" + failures);
  if (shown.isEmpty()) return false;
  shown_ = std::move(merged);
  showingOwn_ = false;
  clear_->setEnabled(false);
  source_->setText("Results of " + shown.join(", ") + ", each answer counted once.");
  FillStudents();
  Refresh();
  return true;
}

void TResultsWindow::CmOpen() {
  const QStringList paths = chooseFiles_(this);
  if (!paths.isEmpty()) OpenFiles(paths);
}

void TResultsWindow::CmExportCsv() {
  const QString path = chooseSaveFile_(this);
  if (path.isEmpty()) return;
  std::string why;
  if (!ExportCsv(*shown_, path, why)) Warn("The answers were not exported: " + why + ".");
}

void TResultsWindow::CmClear() {
  if (!showingOwn_ || !shown_->SeesEveryone()) return;
  const TResultsLocation location = shown_->Location();
  const std::string where = location.Describe();
  if (MessageBox(this,
                 "Delete every answer kept in " + where + "? The results cannot be brought back.",
                 "Confirmation", MbIcon::Question, MbButtons::YesNo) != IDYES)
    return;
  // The file was opened for reading; clearing it opens it for writing.
  TResultsStore writable;
  TResultsStore& store = location.server ? *shown_ : writable;
  if (&store == &writable && !writable.Open(location)) {
    Warn("The results were not cleared: " + writable.Error() + ".");
    return;
  }
  if (!store.Clear()) Warn("The results were not cleared: " + store.Error() + ".");
  ShowOwnResults();
}

void TResultsWindow::SaveStudentName() {
  TResultsSettings().SetStudentName(studentName_->text());
}

void TResultsWindow::SaveServer() {
  if (server_->isReadOnly()) return;
  TResultsSettings settings;
  if (settings.Server() == server_->text().trimmed()) return;
  std::string why;
  if (!settings.SetServer(server_->text(), &why)) {
    Warn(why);
    return;
  }
  // What was kept: the address without its password.
  server_->setText(settings.Server());
  if (showingOwn_) ShowOwnResults();
}

std::string TResultsWindow::ChosenStudent() const {
  if (!shown_->SeesEveryone()) return {};
  return student_->currentIndex() <= 0 ? std::string() : student_->currentText().toStdString();
}

void TResultsWindow::FillStudents() {
  const QString previous = student_->currentText();
  student_->clear();
  // A student's login sees only its own answers: there is no one else to choose.
  if (shown_->SeesEveryone()) student_->addItem("Everyone");
  for (const std::string& name : shown_->Students()) student_->addItem(QStringOf(name));
  const int index = student_->findText(previous);
  student_->setCurrentIndex(index > 0 ? index : 0);
}

void TResultsWindow::Refresh() {
  const std::string student = ChosenStudent();
  FillRuns(student);
  FillTypeChart(student);
  FillMistakeChart(student);
  FillMissed();
}

void TResultsWindow::AnswerKept() {
  if (showingOwn_) ShowOwnResults();
}

void TResultsWindow::FillRuns(const std::string& student) {
  const std::vector<TRunRow> rows = shown_->Runs(student, kRunsShown);
  runs_->setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const TRunRow& run = rows[i];
    SetRow(runs_, i,
           {LocalTime(run.started), QStringOf(run.student), QStringOf(run.types),
            QStringLiteral("%1 of %2").arg(run.earned).arg(run.possible),
            run.possible > 0 ? QStringLiteral("%1%").arg(Percent(run.earned, run.possible))
                             : QStringLiteral("-")});
  }
  runs_->resizeColumnsToContents();
}

void TResultsWindow::FillTypeChart(const std::string& student) {
  QChart* chart = NewChart(student.empty() ? "Points per reaction type, everyone"
                                           : "Points per reaction type, " + QStringOf(student));
  auto* first = new QBarSet("First try");
  auto* coached = new QBarSet("After coaching");
  QStringList categories;
  for (const TTypeRow& row : shown_->Types(student)) {
    categories << QStringLiteral("%1 (%2)").arg(QStringOf(TypeLabel(row.type))).arg(row.answered);
    *first << Percent(row.firstPoints, row.possible);
    *coached << Percent(row.finalPoints, row.possible);
  }
  auto* series = new QBarSeries;
  series->append(first);
  series->append(coached);
  series->setLabelsVisible(true);
  series->setLabelsFormat("@value%");
  AddAxes(chart, series, categories, 100, "percent of points");
  QChart* old = typeView_->chart();
  typeView_->setChart(chart);
  delete old;
}

void TResultsWindow::FillMistakeChart(const std::string& student) {
  QChart* chart = NewChart(student.empty() ? "Coaching needed, everyone"
                                           : "Coaching needed, " + QStringOf(student));
  const std::vector<TMistakeRow> rows = shown_->Mistakes(student);
  const char* const names[kCoachingStepCount] = {"Oxidation number", "Dissociation",
                                                 "Wrong substance", "Missing substance"};
  auto* series = new QBarSeries;
  int most = 0;
  for (int step = 0; step < kCoachingStepCount; ++step) {
    auto* set = new QBarSet(names[step]);
    for (const TMistakeRow& row : rows) {
      *set << row.times[step];
      most = std::max(most, row.times[step]);
    }
    series->append(set);
  }
  QStringList categories;
  for (const TMistakeRow& row : rows) categories << QStringOf(TypeLabel(row.type));
  AddAxes(chart, series, categories, std::max(most, 1), "dialogs opened");
  // The four step names are too long for one row below the bars.
  chart->legend()->setAlignment(Qt::AlignRight);
  QChart* old = mistakeView_->chart();
  mistakeView_->setChart(chart);
  delete old;
}

void TResultsWindow::FillMissed() {
  const std::vector<TMissedRow> rows = shown_->MostMissed(10);
  missed_->setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const TMissedRow& row = rows[i];
    SetRow(missed_, i,
           {QStringOf(row.question), QStringOf(TypeLabel(row.questionType)),
            QString::number(row.missed), QString::number(row.asked),
            QStringOf(row.commonWrongAnswer)});
  }
  missed_->resizeColumnsToContents();
  missed_->setColumnWidth(0, std::min(missed_->columnWidth(0), 220));
}
