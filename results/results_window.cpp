#include "results/results_window.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
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
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegend>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <ranges>

#include "results/answer_outbox.h"
#include "results/answer_sender.h"
#include "results/assignments_page.h"
#include "results/bar_value_labels.h"
#include "results/chart_accessible.h"
#include "results/csv_export.h"
#include "results/distinct_names.h"
#include "results/figures_reader.h"
#include "results/mistake_trend.h"
#include "results/password_file.h"
#include "results/progress_run.h"
#include "results/qstring_of.h"
#include "results/results_settings.h"
#include "results/results_store.h"
#include "results/results_view.h"
#include "ui/help_viewer.h"
#include "ui/message_box.h"

namespace {

// Stored times are UTC; the teacher reads them in local time.
QString LocalTime(const std::string& utc) {
  QDateTime time = QDateTime::fromString(QStringOf(utc), Qt::ISODate);
  return time.isValid() ? time.toLocalTime().toString("yyyy-MM-dd hh:mm") : QStringOf(utc);
}

// A chart's least width in lines of the window's font: the longest type's name whole beside its
// bars and their labels.
constexpr int kChartLines = 30;

// A bar of 0 is drawn this long, a sliver at the axis, so that no type looks missing.
constexpr qreal kZeroBar = 0.5;

// The columns of long texts (a student's name, the types chosen, a question, an answer), which
// share what the other columns leave of the table, their whole text in the tool tip.
const char* const kLongTextColumns = "longTextColumns";

QTableWidget* MakeTable(const QStringList& headers, const QList<int>& longTexts) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()));
  table->setHorizontalHeaderLabels(headers);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  table->verticalHeader()->setVisible(false);
  table->setProperty(kLongTextColumns, QVariant::fromValue(longTexts));
  // A long text wraps in its row rather than being cut: a question or a name with its login
  // reads whole.
  table->setWordWrap(true);
  table->setTextElideMode(Qt::ElideNone);
  // Rows made higher by wrapping never take the columns' room for a scroll bar.
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return table;
}

// Every column as wide as its header and its cells, but the long texts only as wide as their
// share of what the others leave (never narrower than their header); room left over goes to the
// last long text, and columns that need more than there is scroll. So a long name never pushes
// the points out of view.
void FitColumns(QTableWidget* table) {
  const QList<int> longTexts = table->property(kLongTextColumns).value<QList<int>>();
  if (longTexts.isEmpty()) return;
  QHeaderView* header = table->horizontalHeader();
  table->resizeColumnsToContents();
  int left = table->viewport()->width();
  for (int column = 0; column < table->columnCount(); ++column)
    if (!longTexts.contains(column)) left -= table->columnWidth(column);
  // Each long text has its header's width, and then an even share of what is left, up to the
  // width of its cells.
  std::vector<int> widths, wants;
  for (int column : longTexts) {
    widths.push_back(header->sectionSizeHint(column));
    wants.push_back(std::max(table->columnWidth(column), widths.back()));
    left -= widths.back();
  }
  for (int open = static_cast<int>(widths.size()); left > 0 && open > 0;) {
    const int share = std::max(1, left / open);
    open = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
      const int more = std::min({share, wants[i] - widths[i], left});
      widths[i] += more;
      left -= more;
      if (widths[i] < wants[i]) ++open;
    }
  }
  if (left > 0) widths.back() += left;
  for (std::size_t i = 0; i < widths.size(); ++i) table->setColumnWidth(longTexts[i], widths[i]);
  table->resizeRowsToContents();
}

void SetRow(QTableWidget* table, int row, const QStringList& cells) {
  for (int column = 0; column < cells.size(); ++column) {
    auto* item = new QTableWidgetItem(cells[column]);
    item->setToolTip(cells[column]);
    table->setItem(row, column, item);
  }
}

QChart* NewChart() {
  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

// The bars lie down: the type names stand whole at their left, one below the other, however
// many types there are, and the value labels have the width of the chart.
void AddAxes(QChart* chart, QHorizontalBarSeries* series, const QStringList& categories, int top,
             const QString& valueTitle) {
  series->setBarWidth(0.8);
  chart->addSeries(series);
  auto* names = new QBarCategoryAxis;
  // The axis runs upwards; the callers give the types last first, so that the first stands on
  // top, as a list reads.
  names->append(categories);
  chart->addAxis(names, Qt::AlignLeft);
  series->attachAxis(names);
  auto* values = new QValueAxis;
  values->setRange(0, top);
  // Whole numbers only: a tick for every count while they are few.
  if (top <= 5)
    values->setTickCount(top + 1);
  else
    values->applyNiceNumbers();
  values->setLabelFormat("%d");
  values->setTitleText(valueTitle);
  chart->addAxis(values, Qt::AlignBottom);
  series->attachAxis(values);
}

// The chart in the window's colours and font: a dark palette gets a dark chart, and text,
// grid and background come from the palette rather than from the chart's theme.
void FollowLook(QChart* chart, const QWidget& widget) {
  const QPalette& palette = widget.palette();
  const QColor text = palette.color(QPalette::Text);
  const bool dark = palette.color(QPalette::Base).lightness() < 128;
  chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
  chart->setBackgroundBrush(palette.base());
  chart->setBackgroundPen(QPen(palette.color(QPalette::Mid)));
  chart->setBackgroundRoundness(0);
  chart->setDropShadowEnabled(false);
  chart->legend()->setFont(widget.font());
  chart->legend()->setLabelColor(text);
  for (QAbstractAxis* axis : chart->axes()) {
    axis->setLabelsFont(widget.font());
    axis->setLabelsColor(text);
    axis->setTitleFont(widget.font());
    axis->setTitleBrush(text);
    axis->setGridLineColor(palette.color(QPalette::Mid));
    axis->setLinePenColor(palette.color(QPalette::Mid));
  }
}

// Colours that read on a light chart and a dark one alike (a contrast of 3:1 with either) and
// stay apart for colour-blind readers, from Okabe and Ito's set: each series keeps its colour
// whatever the palette, so two screens side by side mean the same.
void KeepSeriesColours(QAbstractBarSeries* series) {
  static const QColor colours[] = {
      {0x00, 0x72, 0xB2}, {0xD5, 0x5E, 0x00}, {0x00, 0x9E, 0x73}, {0xCC, 0x79, 0xA7}};
  const QList<QBarSet*> sets = series->barSets();
  for (qsizetype i = 0; i < sets.size(); ++i) {
    const QColor& colour = colours[i % std::size(colours)];
    sets[i]->setColor(colour);
    sets[i]->setBorderColor(colour);
  }
}

void ShowChart(QChartView* view, QChart* chart) {
  QChart* old = view->chart();
  view->setChart(chart);
  delete old;
}

}  // namespace

TResultsWindow::TResultsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
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
  reader_ = std::make_unique<TFiguresReader>();
  connect(reader_.get(), &TFiguresReader::Ended, this, &TResultsWindow::TakeFigures);
  rereadTimer_ = new QTimer(this);
  rereadTimer_->setInterval(kRereadMilliseconds);
  connect(rereadTimer_, &QTimer::timeout, this, &TResultsWindow::ReadAgain);
  TChartAccessible::Install();
  BuildLayout();
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic("results", this); });
  auto* readAgain = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(readAgain, &QShortcut::activated, this, &TResultsWindow::ReadAgain);
  for (const QKeySequence& keys :
       {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
    auto* closing = new QShortcut(keys, this);
    connect(closing, &QShortcut::activated, this, &QWidget::close);
  }
  // Room for five types' names and bars beside each other at the desktop's font, within the
  // screen it opens on, its frame and title bar included.
  const int line = fontMetrics().lineSpacing();
  resize(sizeHint()
             .expandedTo(QSize(1040, 760))
             .expandedTo(QSize(70 * line, 50 * line))
             .boundedTo(screen()->availableGeometry().size() - FrameAllowance()));
  ShowOwnResults();
}

TResultsWindow::~TResultsWindow() = default;

void TResultsWindow::SetFileChoosers(TChooseFiles open, TChooseSaveFile save) {
  chooseFiles_ = std::move(open);
  chooseSaveFile_ = std::move(save);
}

void TResultsWindow::BuildLayout() {
  BuildCommands();
  BuildFigures();

  // The foot stays in view however small the screen: the settings, when the figures were
  // read, and Close. What is between scrolls where the screen is too small for it.
  readAt_->setWordWrap(true);
  auto* close = new QPushButton("Close");
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* closing = new QVBoxLayout;
  closing->addWidget(readAt_, 0, Qt::AlignRight);
  closing->addStretch();
  closing->addWidget(close, 0, Qt::AlignRight);
  auto* bottom = new QHBoxLayout;
  bottom->addLayout(BuildSettings(), 1);
  bottom->addLayout(closing);

  auto* body = new QWidget;
  auto* bodyLayout = new QVBoxLayout(body);
  bodyLayout->setContentsMargins(0, 0, 0, 0);
  bodyLayout->addLayout(commands_);
  bodyLayout->addWidget(leftOut_);
  bodyLayout->addLayout(figuresGrid_, 1);
  auto* scroller = figuresScroller_ = new QScrollArea;
  scroller->setWidget(body);
  scroller->setWidgetResizable(true);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->viewport()->installEventFilter(this);
  PlaceFigures();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source_);
  layout->addWidget(waiting_);
  // The assignments' grid on a page of its own beside the figures.
  pages_ = new QTabWidget;
  pages_->addTab(scroller, "&Figures");
  pages_->addTab(assignments_, "&Assignments");
  layout->addWidget(pages_, 1);
  layout->addLayout(bottom);
}

void TResultsWindow::BuildCommands() {
  source_ = new QLabel;
  source_->setWordWrap(true);
  waiting_ = new QLabel;
  waiting_->setObjectName("waiting");
  waiting_->setWordWrap(true);
  waiting_->setVisible(false);
  student_ = new QComboBox;
  student_->setMinimumContentsLength(16);
  // A long name is read in the open list; it does not widen the box.
  student_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  connect(student_, &QComboBox::activated, this, [this] { Refresh(); });
  auto* open = new QPushButton("&Open...");
  auto* own = new QPushButton("&This Computer's Results");
  auto* exportCsv = new QPushButton("&Export CSV...");
  auto* gradebook = new QPushButton("Export &Gradebook...");
  assignments_ = new TAssignmentsPage(
      [this]() -> TResultsStore& { return view_.Store(); }, [this] { return ChosenStudent(); },
      [this] { return view_.ShowingOwn() && !view_.OwnOpen() ? view_.Source() : QString(); });
  connect(gradebook, &QPushButton::clicked, assignments_, &TAssignmentsPage::CmExportGradebook);
  clear_ = new QPushButton("C&lear...");
  auto* refresh = new QPushButton("&Refresh");
  refresh->setToolTip("Read the results again (F5)");
  readAt_ = new QLabel;
  connect(refresh, &QPushButton::clicked, this, &TResultsWindow::ReadAgain);
  connect(open, &QPushButton::clicked, this, &TResultsWindow::CmOpen);
  connect(own, &QPushButton::clicked, this, &TResultsWindow::ShowOwnResults);
  connect(exportCsv, &QPushButton::clicked, this, &TResultsWindow::CmExportCsv);
  connect(clear_, &QPushButton::clicked, this, &TResultsWindow::CmClear);

  showLabel_ = new QLabel("Show:");
  showLabel_->setBuddy(student_);
  commands_ = new QGridLayout;
  commandButtons_ = {refresh, open, own, exportCsv, gradebook, clear_};
}

QFormLayout* TResultsWindow::BuildSettings() {
  const TResultsSettings settings;
  studentName_ = new QLineEdit(settings.StudentName());
  studentName_->setPlaceholderText(TResultsSettings::FullName().isEmpty()
                                       ? TResultsSettings::LoginName()
                                       : TResultsSettings::FullName());
  server_ = new QLineEdit(settings.Server());
  server_->setPlaceholderText("postgresql://user@host/dbname, or empty for this folder's file");
  // A password typed here goes to the password file; the field never shows one.
  server_->setToolTip("A password typed here is kept in " + QStringOf(TPasswordFile::Path()) +
                      " (readable by you alone), not shown.");
  QLabel* serverNote = nullptr;
  if (TResultsSettings::SetByEnvironment()) {
    server_->setText(QStringOf(
        TResultsLocation::WithoutPassword(TResultsSettings::EnvironmentAddress().toStdString())));
    server_->setReadOnly(true);
    serverNote = new QLabel(
        "Set by TARVOLIN_RESULTS, which decides where the results go while it "
        "is set.");
    serverNote->setWordWrap(true);
  }
  connect(studentName_, &QLineEdit::editingFinished, this, &TResultsWindow::SaveStudentName);
  connect(server_, &QLineEdit::editingFinished, this, &TResultsWindow::SaveServer);
  auto* settingsForm = new QFormLayout;
  settingsForm->addRow("Student name:", studentName_);
  settingsForm->addRow("Class server:", server_);
  if (serverNote) settingsForm->addRow(QString(), serverNote);
  return settingsForm;
}

void TResultsWindow::BuildFigures() {
  typeView_ = new QChartView(NewChart());
  mistakeView_ = new QChartView(NewChart());
  // The charts' titles stand above them, where a student's name, however long, wraps.
  typeTitle_ = new QLabel;
  mistakeTitle_ = new QLabel;
  for (QLabel* title : {typeTitle_, mistakeTitle_}) {
    title->setTextFormat(Qt::PlainText);
    title->setWordWrap(true);
    title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont bold;
    bold.setBold(true);
    title->setFont(bold);
  }
  // Under its title, in words, whether each kind of coaching is needed less than before.
  trend_ = new QLabel;
  trend_->setObjectName("trend");
  trend_->setTextFormat(Qt::PlainText);
  trend_->setWordWrap(true);
  trend_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  mistakeHead_ = new QWidget;
  auto* head = new QVBoxLayout(mistakeHead_);
  head->setContentsMargins(0, 0, 0, 0);
  head->addWidget(mistakeTitle_);
  head->addWidget(trend_);
  mistakeHead_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  // Each title just above its chart, however many lines stand above the chart beside it.
  typeTitle_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  // Room for five types' names, their bars and the legend in the window's font.
  const int line = fontMetrics().lineSpacing();
  for (QChartView* view : {typeView_, mistakeView_}) {
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(std::max(320, kChartLines * line), std::max(240, 13 * line));
  }
  // Above the figures it is about, in plain text: a student's name is never markup.
  leftOut_ = new QLabel;
  leftOut_->setTextFormat(Qt::PlainText);
  leftOut_->setWordWrap(true);
  leftOut_->setVisible(false);
  runs_ = MakeTable({"Date", "Student", "Types chosen", "Points", "Percent"}, {1, 2});
  missed_ = MakeTable({"Question", "Type", "Missed", "Asked", "Most common first answer"}, {0, 4});
  // The columns are fitted again whenever the room for them changes.
  for (QTableWidget* table : {runs_, missed_}) table->viewport()->installEventFilter(this);

  figuresGrid_ = new QGridLayout;
  runsTitle_ = new QLabel("<b>Quiz runs</b>");
  missedTitle_ = new QLabel("<b>Questions missed most often</b>");
}

void TResultsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // As much room as the figures ask for, where the screen has it, so that they need no
  // scrolling there: their wrapped titles make them as high as they are for their width.
  const QWidget& figures = *figuresScroller_->widget();
  const QSize room = figuresScroller_->viewport()->size();
  const QSize more =
      QSize(figures.minimumSizeHint().width(), figures.heightForWidth(room.width())) - room;
  if (more.width() > 0 || more.height() > 0) resize(size() + more.expandedTo(QSize(0, 0)));
  FitOnScreen();
  // Opened again, or brought back: what it showed may be old.
  if (view_.ShowingOwn()) ReadAgain();
  UpdateRereading();
}

void TResultsWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  UpdateRereading();
}

void TResultsWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  const bool look = event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange ||
                    event->type() == QEvent::StyleChange;
  if (event->type() == QEvent::FontChange) PlaceFigures();
  if (look && view_.FiguresShown()) {
    FillTypeChart();
    FillMistakeChart();
  }
}

void TResultsWindow::PlaceCommands() {
  // In one row where it fits, else the buttons two by two under the choice of student.
  int wide = showLabel_->sizeHint().width() + student_->sizeHint().width();
  for (QPushButton* button : commandButtons_) wide += button->sizeHint().width();
  wide += static_cast<int>(commandButtons_.size() + 1) * commands_->horizontalSpacing();
  const int columns = figuresScroller_->viewport()->width() >= wide ? 0 : 2;
  if (commands_->count() > 0 && columns == commandColumns_) return;
  commandColumns_ = columns;
  for (QWidget* w : std::initializer_list<QWidget*>{showLabel_, student_})
    commands_->removeWidget(w);
  for (QPushButton* button : commandButtons_) commands_->removeWidget(button);
  for (int column = 0; column < commands_->columnCount(); ++column)
    commands_->setColumnStretch(column, 0);
  commands_->addWidget(showLabel_, 0, 0);
  commands_->addWidget(student_, 0, 1, 1, columns == 0 ? 1 : 2, Qt::AlignLeft);
  for (int i = 0; i < static_cast<int>(commandButtons_.size()); ++i) {
    if (columns == 0)
      commands_->addWidget(commandButtons_[i], 0, 3 + i);
    else
      commands_->addWidget(commandButtons_[i], 1 + i / columns, 1 + i % columns);
  }
  commands_->setColumnStretch(columns == 0 ? 2 : 3, 1);
}

void TResultsWindow::PlaceFigures() {
  const int line = fontMetrics().lineSpacing();
  const int across = figuresScroller_->viewport()->width() >= 2 * kChartLines * line ? 2 : 1;
  PlaceCommands();
  if (across == figuresAcross_) return;
  figuresAcross_ = across;
  // Read as a list where they stand one under the other: each title above what it names.
  QWidget* const figures[] = {typeTitle_,   typeView_,    runsTitle_,   runs_,
                              mistakeHead_, mistakeView_, missedTitle_, missed_};
  for (QWidget* figure : figures) figuresGrid_->removeWidget(figure);
  for (int row = 0; row < 8; ++row) figuresGrid_->setRowStretch(row, 0);
  for (int i = 0; i < 8; ++i) {
    const int column = across == 2 ? i / 4 : 0;
    const int row = across == 2 ? i % 4 : i;
    figuresGrid_->addWidget(figures[i], row, column);
    // Charts take more of the height than tables.
    if (i % 2 == 1) figuresGrid_->setRowStretch(row, i % 4 == 1 ? 3 : 2);
  }
}

bool TResultsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == figuresScroller_->viewport()) PlaceFigures();
  if (event->type() == QEvent::Resize)
    for (QTableWidget* table : {runs_, missed_})
      if (watched == table->viewport()) FitColumns(table);
  return QWidget::eventFilter(watched, event);
}

QSize TResultsWindow::FrameAllowance() const {
  // Before the window manager has framed the window its frame is not known: room for a title
  // bar and borders is kept all the same.
  const QSize frame = frameGeometry().size() - size();
  if (!frame.isEmpty()) return frame;
  const int border = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  return {border, border + style()->pixelMetric(QStyle::PM_TitleBarHeight)};
}

void TResultsWindow::FitOnScreen() {
  const QRect available = screen()->availableGeometry();
  const QSize frame = FrameAllowance();
  const QSize fitted = size().boundedTo(available.size() - frame);
  if (fitted != size()) resize(fitted);
  QRect outer(frameGeometry().topLeft(), fitted + frame);
  if (available.contains(outer)) return;
  outer.moveRight(std::min(outer.right(), available.right()));
  outer.moveBottom(std::min(outer.bottom(), available.bottom()));
  outer.moveLeft(std::max(outer.left(), available.left()));
  outer.moveTop(std::max(outer.top(), available.top()));
  move(outer.topLeft());
}

void TResultsWindow::UpdateRereading() {
  // Others write this computer's file and the class server; files opened together stay as read.
  if (view_.RereadsByClock(isVisible()))
    rereadTimer_->start();
  else
    rereadTimer_->stop();
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
  view_.ShowOwn([this](const TResultsLocation& location, TResultsStore& failed) {
    return ServerAnswers(location, failed);
  });
  ShowSource();
  ShowWaiting(view_.OwnLocation());
  FillStudents();
  Refresh();
  UpdateRereading();
}

void TResultsWindow::ShowSource() {
  source_->setText(view_.Source());
  source_->setToolTip(view_.SourceDetails());
  // Only a login that sees everyone may clear; a student's window has no Clear... at all.
  clear_->setVisible(view_.OffersClear());
  clear_->setEnabled(view_.MayClear());
}

bool TResultsWindow::ServerAnswers(const TResultsLocation& location, TResultsStore& failed) {
  // Tried first on a thread of its own, with Cancel, so that a server that does not answer
  // never stops the window for the seconds connecting may take.
  std::string error, inSentence, details;
  bool answers = false;
  const bool finished = TProgressRun::Run(this, "Connecting to the class server...", 0,
                                          [&](const TProgressRun::TReport&) {
                                            TResultsStore probe;
                                            answers = probe.Open(location);
                                            error = probe.Error();
                                            inSentence = probe.ErrorInSentence();
                                            details = probe.Details();
                                          });
  if (answers && finished) return true;
  if (finished)
    failed.SetFailure(error, inSentence, details);
  else
    failed.SetFailure("Connecting to the class server was cancelled",
                      "connecting to the class server was cancelled", details);
  return false;
}

void TResultsWindow::ShowWaiting(const TResultsLocation& location) {
  // Only counted here: the quiz makes and mends the outbox.
  TAnswerOutbox outbox;
  const QString path = QStringOf(TAnswerOutbox::DefaultPath());
  TOutboxCounts counts;
  if (!QFileInfo::exists(path) || !outbox.Open(path.toStdString(), TAnswerOutbox::TMode::Read) ||
      !outbox.Counts(location.Address(), counts))
    counts = {};
  const std::string line = WaitingLine(counts, location);
  waiting_->setText(line.empty() ? QString()
                                 : "On this computer: " + QStringOf(line) +
                                       ". Waiting answers are sent as soon as they are taken.");
  waiting_->setVisible(!line.empty());
}

namespace {

// The paths chosen, each file once however often it was chosen, with the full path of each.
void UniqueFiles(const QStringList& paths, std::vector<std::string>& unique,
                 std::vector<std::string>& fullPaths) {
  for (const QString& path : paths) {
    const QFileInfo info(path);
    const std::string full = QDir::fromNativeSeparators(info.exists() ? info.canonicalFilePath()
                                                                      : info.absoluteFilePath())
                                 .toStdString();
    if (std::find(fullPaths.begin(), fullPaths.end(), full) != fullPaths.end()) continue;
    fullPaths.push_back(full);
    unique.push_back(path.toStdString());
  }
}

int64_t AnswersIn(const std::vector<std::string>& files) {
  int64_t total = 0;
  for (const std::string& path : files) {
    TResultsStore file;
    if (file.Open(TResultsLocation::File(path), TResultsStore::TMode::ReadOnly))
      total += std::max<int64_t>(0, file.AnswerCount());
  }
  return total;
}

// Merges files into the file at into, marking each merged; failures gets a line for each
// that could not be. Stops when report does.
void MergeFiles(const std::vector<std::string>& files, const std::string& intoPath,
                std::vector<bool>& merged, std::string& failures,
                const TProgressRun::TReport& report) {
  TResultsStore into;
  if (!into.Open(TResultsLocation::File(intoPath))) {
    failures += "\n" + into.Error();
    return;
  }
  into.UseAsScratch();
  int64_t before = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    TResultsStore file;
    int64_t read = 0;
    const bool ok = file.Open(TResultsLocation::File(files[i]), TResultsStore::TMode::ReadOnly) &&
                    into.Merge(file, [&](int64_t n) { return report(before + (read = n)); }) >= 0;
    if (!ok && !report(before)) return;
    if (!ok) failures += "\n" + (file.Error().empty() ? into.Error() : file.Error());
    merged[i] = ok;
    before += read;
  }
}

}  // namespace

bool TResultsWindow::OpenFiles(const QStringList& paths) {
  // The files are merged into a file of the window's own, off the window's thread, in bulk:
  // half a million answers take seconds, and Cancel leaves the window as it was.
  if (!mergeFolder_) mergeFolder_ = std::make_unique<QTemporaryDir>();
  std::string mergedPath =
      mergeFolder_->filePath(QStringLiteral("merged-%1.db").arg(++merges_)).toStdString();
  std::vector<std::string> unique, fullPaths;
  UniqueFiles(paths, unique, fullPaths);
  std::vector<bool> merged(unique.size(), false);
  std::string failures;
  // One file needs no merge: its own summaries are shown, read as it lies.
  if (unique.size() == 1) {
    mergedPath = unique[0];
    merged[0] = true;
  } else if (!TProgressRun::Run(this, "Reading the results files...", AnswersIn(unique),
                                [&](const TProgressRun::TReport& report) {
                                  MergeFiles(unique, mergedPath, merged, failures, report);
                                })) {
    return false;
  }
  QStringList read;
  std::vector<std::string> mergedPaths;
  for (std::size_t i = 0; i < unique.size(); ++i)
    if (merged[i]) {
      read << QStringOf(unique[i]);
      mergedPaths.push_back(fullPaths[i]);
    }
  auto shown = std::make_unique<TResultsStore>();
  if (!read.isEmpty() &&
      !shown->Open(TResultsLocation::File(mergedPath), TResultsStore::TMode::ReadOnly)) {
    failures += "\n" + shown->Error();
    read.clear();
  }
  if (!failures.empty()) Warn("These results could not be read:" + failures);
  if (read.isEmpty()) return false;
  view_.ShowFiles(std::move(shown), read, DistinctNames(mergedPaths));
  ShowSource();
  FillStudents();
  Refresh();
  UpdateRereading();
  return true;
}

void TResultsWindow::CmOpen() {
  const QStringList paths = chooseFiles_(this);
  if (!paths.isEmpty()) OpenFiles(paths);
}

void TResultsWindow::CmExportCsv() {
  const QString path = chooseSaveFile_(this);
  if (path.isEmpty()) return;
  // Read through a connection of the export's own, off the window's thread.
  const TResultsLocation location = view_.Store().Location();
  const bool empty = !view_.OwnOpen() && view_.ShowingOwn();
  const int64_t total = std::max<int64_t>(0, view_.Store().AnswerCount());
  std::string why;
  bool ok = false;
  const bool finished = TProgressRun::Run(
      this, "Exporting the answers...", total, [&](const TProgressRun::TReport& report) {
        TResultsStore store;
        const bool open =
            empty ? store.OpenInMemory()
                  : store.Open(location, location.server ? TResultsStore::TMode::ReadWrite
                                                         : TResultsStore::TMode::ReadOnly);
        if (!open) {
          why = store.ErrorInSentence();
          return;
        }
        ok = ExportCsv(store, QStringOf(path.toStdString()), why, report);
      });
  if (!finished) return;
  if (!ok) Warn("The answers were not exported: " + why + ".");
}

void TResultsWindow::CmClear() {
  TResultsStore& shown = view_.Store();
  if (!view_.ShowingOwn() || !shown.SeesEveryone()) return;
  // Before the first answer the store shown is an empty stand-in for the file to come.
  TResultsLocation location = shown.Location();
  if (!view_.OwnOpen()) TResultsSettings().Location(location);
  const std::string where = location.Describe();
  const int64_t count = view_.OwnOpen() ? shown.AnswerCount() : 0;
  if (count < 0) {
    Warn("The results cannot be read: " + shown.ErrorInSentence() + ".");
    return;
  }
  if (count == 0) {
    MessageBox(this, "No answers are kept in " + where + ".", "Information", MbIcon::Information);
    return;
  }
  const std::string what =
      count == 1 ? "the one answer" : "all " + GroupedNumber(count) + " answers";
  // Enter must not delete: No is the default.
  if (MessageBox(this, "Delete " + what + " kept in " + where + "? They cannot be brought back.",
                 "Confirmation", MbIcon::Question, MbButtons::YesNo, IDNO) != IDYES)
    return;
  // The file was opened for reading; clearing it opens it for writing.
  TResultsStore writable;
  TResultsStore& store = location.server ? shown : writable;
  if (&store == &writable && !writable.Open(location)) {
    Warn("The results were not cleared: " + writable.ErrorInSentence() + ".");
    return;
  }
  if (!store.Clear()) Warn("The results were not cleared: " + store.ErrorInSentence() + ".");
  ShowOwnResults();
}

void TResultsWindow::SaveStudentName() {
  TResultsSettings().SetStudentName(studentName_->text());
}

namespace {

// Answers are given for one class: they go to another place only when the student says so.
void AskWhereWaitingAnswersGo(QWidget* owner) {
  TResultsLocation location;
  if (TResultsSettings::SetByEnvironment() || !TResultsSettings().Location(location)) return;
  const QString path = QStringOf(TAnswerOutbox::DefaultPath());
  TAnswerOutbox outbox;
  TOutboxCounts counts;
  if (!QFileInfo::exists(path) || !outbox.Open(path.toStdString(), TAnswerOutbox::TMode::Use) ||
      !outbox.Counts(location.Address(), counts) || counts.elsewhere <= 0)
    return;
  const std::string answers =
      counts.elsewhere == 1 ? "1 answer" : std::to_string(counts.elsewhere) + " answers";
  if (MessageBox(owner,
                 answers +
                     " on this computer wait for the place the results went to before. "
                     "Send them to " +
                     location.Describe() +
                     " instead?\n\nYes sends "
                     "them there; No keeps them for the earlier place, where they go once "
                     "the setting points there again.",
                 "Answers waiting", MbIcon::Question, MbButtons::YesNo, IDNO) != IDYES)
    return;
  if (!outbox.Redirect(location.Address()))
    MessageBox(owner, "The waiting answers stay for the earlier place: " + outbox.Error() + ".",
               "Warning", MbIcon::Exclamation);
}

}  // namespace

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
  AskWhereWaitingAnswersGo(this);
  if (view_.ShowingOwn()) ShowOwnResults();
}

std::string TResultsWindow::ChosenStudent() const {
  return view_.Chosen(student_->currentIndex(), student_->currentText());
}

void TResultsWindow::FillStudents() {
  FillStudents(view_.Store().Students());
}

void TResultsWindow::FillStudents(const std::vector<std::string>& students) {
  const QStringList names = view_.StudentChoices(students);
  const bool choice = view_.OffersChoice(names);
  showLabel_->setVisible(choice);
  student_->setVisible(choice);
  QStringList shown;
  for (int i = 0; i < student_->count(); ++i) shown << student_->itemText(i);
  // The same list is left as it is, so that a read every few seconds never closes its popup.
  if (shown == names) return;
  const QString previous = student_->currentText();
  student_->clear();
  student_->addItems(names);
  const int index = student_->findText(previous);
  student_->setCurrentIndex(index > 0 ? index : 0);
}

void TResultsWindow::Refresh() {
  const QString now = QTime::currentTime().toString("hh:mm:ss");
  // A store that cannot be read now (a server gone away) gives empty summaries: the figures
  // last read stay, and say since when they are.
  TResultsStore& shown = view_.Store();
  if (view_.FiguresShown() && shown.AnswerCount() < 0) {
    view_.NotRead(now);
    readAt_->setText(view_.Age());
    return;
  }
  TResultsFigures figures;
  figures.student = ChosenStudent();
  figures.runs = shown.Runs(figures.student, kRunsShown);
  figures.types = shown.Types(figures.student);
  figures.mistakes = shown.Mistakes(figures.student);
  figures.trend = shown.Trend(figures.student, NowUtc());
  figures.missed = shown.MostMissed(10);
  figures.leftOut = shown.LeftOut();
  ShowFigures(std::move(figures), now);
  assignments_->ReadIfShown();
  // A teacher's class server: the answers new since are graded again off this thread, and
  // the figures read again after.
  if (view_.ReadsOffThread() && !reader_->Busy())
    reader_->Start(shown.Location(), view_.Figures().student, kRunsShown);
}

void TResultsWindow::ShowFigures(TResultsFigures figures, const QString& now) {
  const bool changed = view_.TakeFigures(std::move(figures), now);
  readAt_->setText(view_.Age());
  // Unchanged figures leave the tables where the teacher scrolled them.
  if (!changed) return;
  FillRuns();
  FillTypeChart();
  FillMistakeChart();
  FillMissed();
  FillLeftOut();
}

void TResultsWindow::TakeFigures() {
  TResultsFigures figures;
  std::vector<std::string> students;
  const bool read = reader_->Take(figures, students);
  const QString now = QTime::currentTime().toString("hh:mm:ss");
  // Read for another student than is chosen now, or with nothing read: the figures stay.
  if (!read || figures.student != ChosenStudent()) {
    if (!read) {
      view_.NotRead(now);
      readAt_->setText(view_.Age());
    }
    return;
  }
  FillStudents(students);
  ShowFigures(std::move(figures), now);
}

void TResultsWindow::ReadAgain() {
  if (!view_.ShowingOwn()) {
    const QStringList again = view_.OpenedPaths();
    if (!again.isEmpty()) OpenFiles(again);
    return;
  }
  TResultsLocation location;
  const bool readable = TResultsSettings().Location(location);
  // The open store sees what others wrote since; a file made since, or another place set,
  // is opened afresh.
  if (readable && view_.ReadsSameStore(location)) {
    ShowWaiting(location);
    if (location.server && sender() == rereadTimer_) {
      // The timed reading of a class server goes on a thread of its own: the window never
      // waits for a slow or locked server.
      reader_->Start(location, ChosenStudent(), kRunsShown);
      return;
    }
    FillStudents();
    Refresh();
  } else {
    ShowOwnResults();
  }
}

void TResultsWindow::AnswerKept() {
  if (view_.ShowingOwn()) ReadAgain();
}

void TResultsWindow::FillRuns() {
  const std::vector<TRunRow>& rows = view_.Figures().runs;
  runs_->setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const TRunRow& run = rows[i];
    SetRow(runs_, i,
           {LocalTime(run.started), QStringOf(run.student), QStringOf(run.types),
            QStringLiteral("%1 of %2").arg(run.earned).arg(run.possible),
            run.possible > 0 ? QStringLiteral("%1%").arg(Percent(run.earned, run.possible))
                             : QStringLiteral("-")});
  }
  FitColumns(runs_);
}

void TResultsWindow::FillTypeChart() {
  const std::string& student = view_.Figures().student;
  typeTitle_->setText("Points per reaction type, " + view_.Whose(student));
  QChart* chart = NewChart();
  QBarSet* sets[] = {new QBarSet("First try"), new QBarSet("After coaching")};
  QStringList labels;
  QStringList categories;
  for (const TTypeRow& row : std::views::reverse(view_.Figures().types)) {
    categories << QStringLiteral("%1 (%2)").arg(QStringOf(TypeLabel(row.type))).arg(row.answered);
    const int32_t percents[] = {Percent(row.firstPoints, row.possible),
                                Percent(row.finalPoints, row.possible)};
    for (int set = 0; set < 2; ++set) *sets[set] << (percents[set] > 0 ? percents[set] : kZeroBar);
    // First try to after coaching, as the bars stand.
    labels << QStringLiteral("%1% \u2192 %2%").arg(percents[0]).arg(percents[1]);
  }
  auto* series = new QHorizontalBarSeries;
  for (QBarSet* set : sets) series->append(set);
  AddAxes(chart, series, categories, 100, "percent of points");
  FollowLook(chart, *this);
  KeepSeriesColours(series);
  new TBarValueLabels(chart, series, labels, font(), palette().color(QPalette::Text));
  QList<QStringList> table;
  for (const TTypeRow& row : view_.Figures().types)
    table << QStringList{
        QStringLiteral("%1 (%2 answered)").arg(QStringOf(TypeLabel(row.type))).arg(row.answered),
        QStringLiteral("%1%").arg(Percent(row.firstPoints, row.possible)),
        QStringLiteral("%1%").arg(Percent(row.finalPoints, row.possible))};
  typeView_->setAccessibleName(typeTitle_->text());
  TChartAccessible::SetChartFigures(typeView_, {"Reaction type", "First try", "After coaching"},
                                    table);
  ShowChart(typeView_, chart);
}

void TResultsWindow::FillMistakeChart() {
  const std::string& student = view_.Figures().student;
  mistakeTitle_->setText("Coaching needed, " + view_.Whose(student));
  trend_->setText(QStringOf(TrendWords(view_.Figures().trend)));
  QChart* chart = NewChart();
  const std::vector<TMistakeRow>& rows = view_.Figures().mistakes;
  const char* const names[kCoachingStepCount] = {"Oxidation number", "Dissociation",
                                                 "Wrong substance", "Missing substance"};
  auto* series = new QHorizontalBarSeries;
  int most = 0;
  for (int step = 0; step < kCoachingStepCount; ++step) {
    // The legend marks the kinds needed less (down), or more, than the fortnight before.
    const TTrend trend = KindTrend(view_.Figures().trend, static_cast<TCoachingStep>(step)).trend;
    auto* set = new QBarSet(QString(names[step]) + (trend == TTrend::Better  ? " \u2193"
                                                    : trend == TTrend::Worse ? " \u2191"
                                                                             : ""));
    for (const TMistakeRow& row : std::views::reverse(rows)) {
      *set << row.times[step];
      most = std::max(most, row.times[step]);
    }
    series->append(set);
  }
  QStringList categories;
  for (const TMistakeRow& row : std::views::reverse(rows))
    categories << QStringOf(TypeLabel(row.type));
  AddAxes(chart, series, categories, std::max(most, 1), "dialogs opened");
  // The four step names are too long for one row below the bars.
  chart->legend()->setAlignment(Qt::AlignRight);
  FollowLook(chart, *this);
  KeepSeriesColours(series);
  QStringList headers{"Reaction type"};
  for (const char* name : names) headers << name;
  QList<QStringList> table;
  for (const TMistakeRow& row : rows) {
    table << QStringList{QStringOf(TypeLabel(row.type))};
    for (int times : row.times) table.back() << QString::number(times);
  }
  mistakeView_->setAccessibleName(mistakeTitle_->text());
  TChartAccessible::SetChartFigures(mistakeView_, headers, table);
  ShowChart(mistakeView_, chart);
}

void TResultsWindow::FillMissed() {
  const std::vector<TMissedRow>& rows = view_.Figures().missed;
  missed_->setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const TMissedRow& row = rows[i];
    SetRow(missed_, i,
           {QStringOf(row.question), QStringOf(TypeLabel(row.questionType)),
            QString::number(row.missed), QString::number(row.asked),
            QStringOf(row.commonWrongAnswer)});
  }
  FitColumns(missed_);
}

namespace {

// "2 answers are left out of these figures: ... (ann 1, bob 1)", for the student chosen or
// everyone; empty when none is.
QString LeftOutLine(const TLeftOut& left, const std::string& student) {
  int64_t count = 0;
  QStringList whose;
  for (const auto& [name, answers] : left.students) {
    if (!student.empty() && name != student) continue;
    count += answers;
    whose << QStringOf(name) + " " + QStringOf(GroupedNumber(answers));
  }
  if (count == 0) return {};
  const QString answers =
      count == 1 ? QStringLiteral("1 answer is") : QStringOf(GroupedNumber(count)) + " answers are";
  return answers + " left out of these figures: scores not given by Tarvolin (" + whose.join(", ") +
         "). Tarvolin's grading of their equations does not give the scores kept with them; the"
         " answers stay on the server and in an exported CSV file.";
}

}  // namespace

void TResultsWindow::FillLeftOut() {
  const QString line = LeftOutLine(view_.Figures().leftOut, view_.Figures().student);
  leftOut_->setText(line);
  leftOut_->setVisible(!line.isEmpty());
}
