// The results window over the working folder's file and over files opened together.
#include "results/results_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtTest/QTest>

#include "results/assignments_page.h"
#include "results/bar_value_labels.h"
#include "results/distinct_names.h"
#include "results/mistake_trend.h"
#include "results/progress_run.h"
#include "results/results_settings.h"
#include "results/results_store.h"
#include "results/results_view.h"
#include "tests/results/results_backend.h"
#include "tests/results/sample_answers.h"
#include "tests/support/driver.h"
#include "ui/mark_color.h"

namespace {

QPushButton* Button(QWidget& window, const QString& text) {
  for (QPushButton* button : window.findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

class ResultsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Settings of this test's own, away from the account's and from tests running beside it.
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    qunsetenv(TResultsLocation::kEnvironment);
    TResultsSettings().SetServer("");
    QDir::setCurrent(dir_.path());
  }
  void TearDown() override { QDir::setCurrent(previous_); }

  static void Keep(const std::string& file, int from, int to) {
    TResultsStore store;
    ASSERT_TRUE(store.Open(TResultsLocation::File(file))) << store.Error();
    std::string why;
    for (int n = from; n < to; ++n)
      ASSERT_TRUE(store.Record(SampleAnswer(n, n % 2 ? "Ada" : "Grace"), why)) << why;
  }
  // Answers of one type that earned nothing, neither at once nor after coaching.
  static void KeepNothingEarned(const std::string& file, int32_t type, int count,
                                const std::string& student = "Ada") {
    TResultsStore store;
    ASSERT_TRUE(store.Open(TResultsLocation::File(file))) << store.Error();
    std::string why;
    for (int n = 0; n < count; ++n) {
      TAnswerRecord r = SampleAnswer(n, student, "zero");
      r.questionType = type;
      r.ending = TEnding::Answer;
      r.firstScore = r.finalScore = 0;
      ASSERT_TRUE(store.Record(r, why)) << why;
    }
  }
  // The charts' bars lie down, the first type on top: these read them from the top down.
  // Bar values of a chart, set by set.
  static std::vector<std::vector<int>> Bars(QChart* chart) {
    std::vector<std::vector<int>> bars;
    auto* series = qobject_cast<QAbstractBarSeries*>(chart->series().value(0));
    if (!series) return bars;
    for (QBarSet* set : series->barSets()) {
      bars.emplace_back();
      for (int i = set->count() - 1; i >= 0; --i)
        bars.back().push_back(static_cast<int>(set->at(i)));
    }
    return bars;
  }
  static QList<QBarSet*> Sets(QChart* chart) {
    auto* series = qobject_cast<QAbstractBarSeries*>(chart->series().value(0));
    return series ? series->barSets() : QList<QBarSet*>();
  }
  static QStringList Categories(QChart* chart) {
    QStringList names;
    for (QAbstractAxis* axis : chart->axes())
      if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis))
        for (const QString& name : categories->categories()) names.prepend(name);
    return names;
  }
  // The value labels at the bars' ends, type by type.
  static QStringList ValueLabels(QChart* chart) {
    QStringList texts;
    if (auto* labels = chart->findChild<TBarValueLabels*>())
      for (QGraphicsSimpleTextItem* item : labels->Items()) texts.prepend(item->text());
    return texts;
  }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
  QTemporaryDir config_;
  TDriver driver_;
};

TEST_F(ResultsWindowTest, ShowsRunsChartsAndMissedQuestionsOfTheWorkingFolder) {
  Keep(TResultsLocation::kDefaultFile, 0, 40);
  // A fifth type where nothing was earned.
  KeepNothingEarned(TResultsLocation::kDefaultFile, 4, 3);
  TResultsWindow window;
  TResultsStore& store = window.Shown();
  EXPECT_EQ(window.RunsTable()->rowCount(), static_cast<int>(store.Runs({}, 1000).size()));
  EXPECT_EQ(window.RunsTable()->rowCount(), 9);
  // Percent of points at the first try and after coaching, one bar pair per type.
  std::vector<std::vector<int>> want(2);
  QStringList types;
  for (const TTypeRow& row : store.Types({})) {
    want[0].push_back(Percent(row.firstPoints, row.possible));
    want[1].push_back(Percent(row.finalPoints, row.possible));
    types << QStringLiteral("%1 (%2)")
                 .arg(QString::fromStdString(TypeLabel(row.type)))
                 .arg(row.answered);
  }
  EXPECT_EQ(Bars(window.TypeChart()), want);
  EXPECT_EQ(Categories(window.TypeChart()), types);
  // Every type has its label, the one at 0% too: first try, then after coaching.
  QStringList labels;
  for (std::size_t type = 0; type < want[0].size(); ++type)
    labels << QStringLiteral("%1% \u2192 %2%").arg(want[0][type]).arg(want[1][type]);
  EXPECT_EQ(ValueLabels(window.TypeChart()), labels);
  EXPECT_TRUE(labels.contains(QStringLiteral("0% \u2192 0%")));
  // ... and its bar: a 0 is drawn as a sliver, not left out.
  auto* series = qobject_cast<QAbstractBarSeries*>(window.TypeChart()->series().value(0));
  ASSERT_NE(series, nullptr);
  for (QBarSet* set : series->barSets())
    for (int i = 0; i < set->count(); ++i) EXPECT_GT(set->at(i), 0.0) << i;
  EXPECT_EQ(Bars(window.MistakeChart()).size(), 4u);
  EXPECT_EQ(window.MissedTable()->rowCount(), static_cast<int>(store.MostMissed(10).size()));
  EXPECT_GT(window.MissedTable()->rowCount(), 0);
  EXPECT_EQ(window.MissedTable()->item(0, 4)->text(), "AgNO3 + NaCl -> AgCl");

  // One student: the charts and the runs are hers alone.
  window.StudentChoice()->setCurrentIndex(window.StudentChoice()->findText("Grace"));
  window.Refresh();
  want = {{}, {}};
  for (const TTypeRow& row : store.Types("Grace")) {
    want[0].push_back(Percent(row.firstPoints, row.possible));
    want[1].push_back(Percent(row.finalPoints, row.possible));
  }
  EXPECT_EQ(Bars(window.TypeChart()), want);
  for (int row = 0; row < window.RunsTable()->rowCount(); ++row)
    EXPECT_EQ(window.RunsTable()->item(row, 1)->text(), "Grace");
}

// The Assignments page: each student's state in her row, a cell's answers with their coaching,
// the student chosen alone, and the gradebook beside the answers' export.
TEST_F(ResultsWindowTest, TheAssignmentsPageShowsEachStudentAndACellsAnswers) {
  {
    TResultsStore store;
    ASSERT_TRUE(store.Open(TResultsLocation::File(TResultsLocation::kDefaultFile)));
    ASSERT_TRUE(store.WriteAssignment({"hw",
                                       "Tonight",
                                       "2026-11-03T08:00:00Z",
                                       "a",
                                       "tess",
                                       false,
                                       false,
                                       0,
                                       {{"Q0", 0, {1}}, {"Q1", 0, {2}}}}));
    std::string why;
    for (TAnswerRecord r : {SampleAnswer(1, "Ada"), SampleAnswer(2, "Grace")}) {
      r.assignmentId = r.student == "Ada" ? "hw" : "";
      ASSERT_TRUE(store.Record(r, why)) << why;
    }
  }
  TResultsWindow window;
  window.show();
  TAssignmentsPage& page = *window.AssignmentsPage();
  window.Pages()->setCurrentWidget(&page);
  QTableWidget& grid = *page.GridTable();
  ASSERT_EQ(grid.rowCount(), 2);
  EXPECT_EQ(grid.verticalHeaderItem(0)->text(), "Ada");
  EXPECT_EQ(grid.item(0, 0)->text(), "1 of 2");
  EXPECT_EQ(grid.item(1, 0)->text(), "not started");
  grid.setCurrentCell(0, 0);
  ASSERT_EQ(page.AnswersTable()->rowCount(), 1);
  EXPECT_EQ(page.AnswersTable()->item(0, 4)->text(), "dissociation: AgNO3; wrong substance: NaCl");
  window.StudentChoice()->setCurrentIndex(window.StudentChoice()->findText("Grace"));
  window.Refresh();
  ASSERT_EQ(grid.rowCount(), 1);
  EXPECT_EQ(grid.verticalHeaderItem(0)->text(), "Grace");
  page.SetSaveChooser([](QWidget*) { return QString("grades.csv"); });
  Button(window, "Export &Gradebook...")->click();
  QFile csv("grades.csv");
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString(csv.readAll()), "student,Tonight (due 2026-11-03)\r\nAda,33\r\nGrace,\r\n");
}

// What the window shows is decided without it: the line naming the source and whether
// Clear... works, for each place the settings may name, and the figures' time when a reading
// fails.
TEST_F(ResultsWindowTest, TheViewNamesItsSourceAndWhatMayBeDone) {
  const char* const kServer = "postgresql://ann@127.0.0.1:1/chem";
  const struct {
    const char* name;
    const char* address;  // TARVOLIN_RESULTS; null for the working folder's file
    int answers;          // kept in that file first
    const char* source;
    bool mayClear;
  } rows[] = {
      {"no file yet", nullptr, 0, "No answers have been recorded in tarvolin-results.db yet.",
       false},
      {"a file", nullptr, 3, "Results in ", true},
      {"an address that cannot be read", "postgresql://", 0, "; no results are shown.", false},
      {"a server that does not answer", kServer, 0,
       "The class server does not answer; no results are shown.", false},
  };
  for (const auto& row : rows) {
    if (row.address) qputenv(TResultsLocation::kEnvironment, row.address);
    if (row.answers > 0) Keep(TResultsLocation::kDefaultFile, 0, row.answers);
    TResultsView view;
    view.ShowOwn([](const TResultsLocation&, TResultsStore& failed) {
      failed.SetFailure("The class server does not answer", "", "timeout expired");
      return false;
    });
    EXPECT_TRUE(view.Source().contains(row.source))
        << row.name << ": " << view.Source().toStdString();
    EXPECT_EQ(view.MayClear(), row.mayClear) << row.name;
    EXPECT_EQ(view.Store().AnswerCount(), row.answers) << row.name;
    EXPECT_EQ(view.ReadsSameStore(view.OwnLocation()), row.mayClear) << row.name;
    qunsetenv(TResultsLocation::kEnvironment);
  }
  TResultsView view;
  view.ShowOwn({});
  TResultsFigures figures;
  figures.student = "Ada";
  EXPECT_TRUE(view.TakeFigures(figures, "10:00:00"));
  EXPECT_FALSE(view.TakeFigures(figures, "10:00:05"));
  view.NotRead("10:00:09");
  EXPECT_EQ(view.Age(), "Not read at 10:00:09; shown as read at 10:00:05");
  EXPECT_EQ(view.Chosen(0, "Everyone"), "");
  EXPECT_EQ(view.Chosen(2, "Ada"), "Ada");
}

TEST_F(ResultsWindowTest, LookingAtNoResultsDoesNotCreateTheFile) {
  TResultsWindow window;
  EXPECT_EQ(window.RunsTable()->rowCount(), 0);
  EXPECT_TRUE(window.SourceLabel()->text().contains("No answers have been recorded"));
  EXPECT_FALSE(QFile::exists(TResultsLocation::kDefaultFile));
}

TEST_F(ResultsWindowTest, FilesOpenedTogetherCountEachAnswerOnceAndAreNotChanged) {
  Keep("bench1.db", 0, 20);
  Keep("bench2.db", 10, 30);
  QFile one("bench1.db");
  ASSERT_TRUE(one.open(QIODevice::ReadOnly));
  const QByteArray before = one.readAll();
  one.close();
  TResultsWindow window;
  window.SetFileChoosers(
      [](QWidget*) {
        return QStringList{"bench1.db", "bench2.db", "bench1.db"};
      },
      [](QWidget*) { return QString("all.csv"); });
  window.show();
  window.CmOpen();
  EXPECT_EQ(window.Shown().AnswerCount(), 30);
  EXPECT_TRUE(window.SourceLabel()->text().contains("bench1.db, bench2.db,"))
      << window.SourceLabel()->text().toStdString();
  // Files opened together are a snapshot, read again only on Refresh.
  EXPECT_FALSE(window.RereadTimer()->isActive());
  // Ten answers a run and student: three runs each of the two students.
  EXPECT_EQ(window.RunsTable()->rowCount(), 6);
  ASSERT_TRUE(one.open(QIODevice::ReadOnly));
  EXPECT_EQ(one.readAll(), before);
  // Clearing is for this computer's own results only.
  window.CmClear();
  EXPECT_EQ(window.Shown().AnswerCount(), 30);

  window.CmExportCsv();
  QFile csv("all.csv");
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll().count("\r\n"), 31);
}

// The window only looks: a file that is not our results, even an empty one, is named and left
// as it was, chosen alone or with others.
TEST_F(ResultsWindowTest, AFileThatIsNotResultsIsNamedLeftAsItWasAndTheOthersShown) {
  Keep("bench1.db", 0, 5);
  const struct {
    QByteArray bytes;
    const char* statement;  // then run by SQLite on the file
    const char* told;
  } rows[] = {
      {QByteArray(2048, 'x'), nullptr, "cannot be opened (file is not a database)"},
      {QByteArray(), nullptr, "holds no Tarvolin results"},
      {QByteArray(), "CREATE TABLE answers (id INTEGER, text TEXT)",
       "is not a results file of Tarvolin (it holds tables of another kind); it is left as it is"},
  };
  for (const auto& row : rows) {
    QFile bad("notes.db");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write(row.bytes);
    bad.close();
    if (row.statement) {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
      db.setDatabaseName("notes.db");
      ASSERT_TRUE(db.open() && QSqlQuery(db).exec(row.statement));
      db.close();
      db = QSqlDatabase();
      QSqlDatabase::removeDatabase("other");
    }
    ASSERT_TRUE(bad.open(QIODevice::ReadOnly));
    const QByteArray before = bad.readAll();
    bad.close();
    for (const QStringList& files :
         {QStringList{"notes.db", "bench1.db"}, QStringList{"notes.db"}}) {
      TResultsWindow window;
      driver_.ExpectMessage(std::string("These results could not be read:\nnotes.db ") + row.told,
                            "Warning");
      EXPECT_EQ(window.OpenFiles(files), files.size() > 1) << row.told;
      driver_.Verify();
      if (files.size() > 1) {
        EXPECT_EQ(window.Shown().AnswerCount(), 5);
        // The heading names only the files shown.
        EXPECT_EQ(window.SourceLabel()->text().toStdString(),
                  "Results of bench1.db, each answer counted once.");
      }
    }
    ASSERT_TRUE(bad.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bad.readAll() == before) << row.told;
    bad.close();
  }
}

TEST_F(ResultsWindowTest, ClearAsksFirstAndEmptiesOnlyOnYes) {
  Keep(TResultsLocation::kDefaultFile, 0, 10);
  TResultsWindow window;
  const std::string question =
      "Delete all 10 answers kept in tarvolin-results.db? They cannot be brought back.";
  // Enter answers No.
  driver_.ExpectMessage(question, "Confirmation")
      .WithButtons(MbButtons::YesNo)
      .WithDefault(IDNO)
      .Answer(IDNO);
  window.CmClear();
  EXPECT_EQ(window.Shown().AnswerCount(), 10);
  driver_.ExpectMessage(question, "Confirmation").Answer(IDYES);
  window.CmClear();
  driver_.Verify();
  EXPECT_EQ(window.Shown().AnswerCount(), 0);
  EXPECT_EQ(window.RunsTable()->rowCount(), 0);
  EXPECT_TRUE(Bars(window.TypeChart())[0].empty());
}

// Clear names what it deletes; with nothing kept it only says so.
TEST_F(ResultsWindowTest, ClearNamesHowManyAnswersItDeletes) {
  struct Row {
    int answers;
    const char* message;
    const char* caption;
  };
  const Row rows[] = {
      {1, "Delete the one answer kept in tarvolin-results.db? They cannot be brought back.",
       "Confirmation"},
      {3, "Delete all 3 answers kept in tarvolin-results.db? They cannot be brought back.",
       "Confirmation"},
      {0, "No answers are kept in tarvolin-results.db.", "Information"},
  };
  for (const Row& row : rows) {
    QFile::remove(TResultsLocation::kDefaultFile);
    if (row.answers > 0) Keep(TResultsLocation::kDefaultFile, 0, row.answers);
    TResultsWindow window;
    driver_.ExpectMessage(row.message, row.caption).Answer(row.answers > 0 ? IDNO : IDOK);
    window.CmClear();
    driver_.Verify();
  }
}

TEST(GroupedNumber, PutsACommaBetweenThousands) {
  const std::pair<int64_t, const char*> rows[] = {
      {0, "0"},
      {7, "7"},
      {999, "999"},
      {1000, "1,000"},
      {1234, "1,234"},
      {500020, "500,020"},
      {1234567, "1,234,567"},
      {-1234, "-1,234"},
  };
  for (const auto& [count, text] : rows) EXPECT_EQ(GroupedNumber(count), text) << count;
}

// A kind of coaching is getting better when its share of first tries fell by five points or
// more from the fortnight before; too few tries in either fortnight tell nothing.
TEST(MistakeTrend, TellsWhichKindsAreNeededLessThanBefore) {
  const struct {
    int triesLast, triesBefore, neededLast, neededBefore;
    TTrend trend;
    const char* words;
  } rows[] = {
      {6, 6, 1, 3, TTrend::Better, "ions needed help on 17%, down from 50% (getting better)"},
      {20, 20, 5, 5, TTrend::Same, "ions needed help on 25%, about as before"},
      {20, 10, 8, 2, TTrend::Worse, "ions needed help on 40%, up from 20% (needs more practice)"},
      {4, 20, 4, 10, TTrend::Unknown, "Too few answers"},
      {20, 20, 0, 0, TTrend::Unknown, "No coaching was needed"},
  };
  for (const auto& row : rows) {
    TMistakeTrend trend;
    trend.tries[0] = row.triesLast;
    trend.tries[1] = row.triesBefore;
    trend.needed[0][1] = row.neededLast;
    trend.needed[1][1] = row.neededBefore;
    EXPECT_EQ(KindTrend(trend, TCoachingStep::Dissociation).trend, row.trend) << row.words;
    EXPECT_NE(TrendWords(trend).find(row.words), std::string::npos) << TrendWords(trend);
  }
}

// Work that takes a while shows its dialog after a moment, even when how much there is to do is
// not known, and the dialog's Cancel stops the work.
TEST(ProgressRun, ShowsItsDialogSoonAndCancelStopsTheWork) {
  QWidget owner;
  owner.show();
  bool seen = false;
  QTimer::singleShot(900, &owner, [&] {
    for (QProgressDialog* dialog : owner.findChildren<QProgressDialog*>())
      if (dialog->isVisible()) {
        seen = true;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) button->click();
      }
  });
  bool stopped = false;
  const bool finished =
      TProgressRun::Run(&owner, "Waiting...", 0, [&](const TProgressRun::TReport& report) {
        for (int i = 0; i < 300 && !stopped; ++i) {
          QThread::msleep(10);
          stopped = !report(i);
        }
      });
  EXPECT_TRUE(seen);
  EXPECT_TRUE(stopped);
  EXPECT_FALSE(finished);
}

TEST(DistinctNames, TakeAsManyFoldersAsTellTheFilesApart) {
  struct Row {
    std::vector<std::string> paths;
    std::vector<std::string> names;
  };
  const Row rows[] = {
      {{"/home/t/bench1.db", "/home/t/bench2.db"}, {"bench1.db", "bench2.db"}},
      {{"/home/t/lab1/tarvolin-results.db", "/home/t/lab2/tarvolin-results.db"},
       {"lab1/tarvolin-results.db", "lab2/tarvolin-results.db"}},
      // Only the names that clash grow.
      {{"/x/lab1/r.db", "/x/lab2/r.db", "/x/lab2/other.db"},
       {"lab1/r.db", "lab2/r.db", "other.db"}},
      // Folders of the same name under different rooms.
      {{"/a/pc/r.db", "/b/pc/r.db"}, {"a/pc/r.db", "b/pc/r.db"}},
      // One path is the end of the other: the shorter is named whole.
      {{"/pc/r.db", "/lab/pc/r.db"}, {"pc/r.db", "lab/pc/r.db"}},
      {{"/only.db"}, {"only.db"}},
      {{"/t/same.db", "/t/same.db"}, {"same.db", "same.db"}},
      {{}, {}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(DistinctNames(row.paths), row.names) << ::testing::PrintToString(row.paths);
}

TEST_F(ResultsWindowTest, FilesOfOneNameAreToldApartByTheirFolders) {
  ASSERT_TRUE(QDir().mkpath("lab1") && QDir().mkpath("lab2"));
  Keep("lab1/tarvolin-results.db", 0, 5);
  Keep("lab2/tarvolin-results.db", 5, 10);
  TResultsWindow window;
  ASSERT_TRUE(window.OpenFiles({"lab1/tarvolin-results.db", "lab2/tarvolin-results.db"}));
  EXPECT_EQ(window.SourceLabel()->text(),
            "Results of lab1/tarvolin-results.db, lab2/tarvolin-results.db, each answer counted "
            "once.");
}

// The window shows the store as it is now: an answer written since it last read comes in
// whichever way it reads again.
struct Rereading {
  const char* how;
  int before;  // answers kept before the window opens; 0: no file yet
  std::function<void(TResultsWindow&)> readAgain;
};

void PrintTo(const Rereading& row, std::ostream* os) {
  *os << row.how;
}

class ResultsWindowRereads : public ResultsWindowTest,
                             public ::testing::WithParamInterface<Rereading> {};

TEST_P(ResultsWindowRereads, AnAnswerWrittenSinceComesIn) {
  const Rereading& row = GetParam();
  if (row.before > 0) Keep(TResultsLocation::kDefaultFile, 0, row.before);
  TResultsWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const int runsBefore = window.RunsTable()->rowCount();
  // Another program (or this one's quiz) writes ten answers more: two runs more.
  Keep(TResultsLocation::kDefaultFile, row.before, row.before + 10);
  row.readAgain(window);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return window.RunsTable()->rowCount() == runsBefore + 2; }, 2000))
      << window.RunsTable()->rowCount();
  EXPECT_TRUE(QRegularExpression("^Read at \\d\\d:\\d\\d:\\d\\d$")
                  .match(window.ReadAtLabel()->text())
                  .hasMatch())
      << window.ReadAtLabel()->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    , ResultsWindowRereads,
    ::testing::Values(
        Rereading{"ClosedAndOpenedAgain", 10,
                  [](TResultsWindow& w) {
                    w.close();
                    w.show();
                  }},
        Rereading{"AnswerKeptByThisProgram", 10, [](TResultsWindow& w) { w.AnswerKept(); }},
        Rereading{"RefreshButton", 10,
                  [](TResultsWindow& w) {
                    ASSERT_NE(Button(w, "&Refresh"), nullptr);
                    Button(w, "&Refresh")->click();
                  }},
        Rereading{"F5", 10, [](TResultsWindow& w) { QTest::keyClick(&w, Qt::Key_F5); }},
        Rereading{"EveryFewSeconds", 10,
                  [](TResultsWindow& w) {
                    EXPECT_TRUE(w.RereadTimer()->isActive());
                    EXPECT_EQ(w.RereadTimer()->interval(), TResultsWindow::kRereadMilliseconds);
                    w.RereadTimer()->setInterval(20);
                  }},
        Rereading{"FileMadeWhileOpen", 0,
                  [](TResultsWindow& w) { w.RereadTimer()->setInterval(20); }}),
    [](const auto& info) { return std::string(info.param.how); });

// A store that cannot be read any more leaves the figures last read, and says since when.
TEST_F(ResultsWindowTest, FiguresThatCannotBeReadAgainStayWithTheirTime) {
  Keep(TResultsLocation::kDefaultFile, 0, 20);
  TResultsWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_EQ(window.RunsTable()->rowCount(), 4);
  const QString readAt = window.ReadAtLabel()->text();
  {
    // Another program takes the answers away under the window's feet.
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "spoiler");
    db.setDatabaseName(TResultsLocation::kDefaultFile);
    ASSERT_TRUE(db.open());
    for (const char* table : {"answers", "run_summary"})
      ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("DROP TABLE %1").arg(table)));
    db.close();
  }
  QSqlDatabase::removeDatabase("spoiler");
  window.ReadAgain();
  EXPECT_EQ(window.RunsTable()->rowCount(), 4);
  EXPECT_TRUE(window.ReadAtLabel()->text().startsWith("Not read at "));
  EXPECT_TRUE(window.ReadAtLabel()->text().endsWith("; shown as read at " + readAt.mid(8)))
      << window.ReadAtLabel()->text().toStdString();
}

// Close, Escape and Ctrl+W close the window; the rereading stops with it.
TEST_F(ResultsWindowTest, CloseEscapeAndCtrlWCloseTheWindow) {
  const std::pair<const char*, std::function<void(TResultsWindow&)>> rows[] = {
      {"Close", [](TResultsWindow& w) { Button(w, "Close")->click(); }},
      {"Escape", [](TResultsWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
      {"Escape in a field",
       [](TResultsWindow& w) { QTest::keyClick(w.StudentNameEdit(), Qt::Key_Escape); }},
      {"Ctrl+W", [](TResultsWindow& w) { QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier); }},
  };
  for (const auto& [how, closeIt] : rows) {
    TResultsWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << how;
    EXPECT_TRUE(window.RereadTimer()->isActive()) << how;
    closeIt(window);
    EXPECT_FALSE(window.isVisible()) << how;
    EXPECT_FALSE(window.RereadTimer()->isActive()) << how;
  }
}

// However small the screen, the window opens within it (as far as its contents let it: the
// buttons' row in the desktop's font needs some 800 pixels).
TEST_F(ResultsWindowTest, OpensWithinTheScreen) {
  Keep(TResultsLocation::kDefaultFile, 0, 20);
  TResultsWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QRect screen = window.screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window.frameGeometry()))
      << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " on "
      << screen.width() << "x" << screen.height();
}

// The window as a teacher sees it on a screen of 1280x1024 (ctest runs these on one), with five
// types (one at 0%) and a long student name, at the desktop's font and a 12-point one, on a
// light and a dark palette. TARVOLIN_RESULTS_SHOTS names a folder to save each look to as a PNG.
struct Look {
  const char* name;
  int pointSize;  // 0: the desktop's
  bool dark;
};

void PrintTo(const Look& look, std::ostream* os) {
  *os << look.name;
}

QPalette DarkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(45, 45, 48));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::AlternateBase, QColor(40, 40, 40));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
  dark.setColor(QPalette::Button, QColor(55, 55, 58));
  dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
  dark.setColor(QPalette::Mid, QColor(100, 100, 100));
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  return dark;
}

class ResultsWindowLooks : public ResultsWindowTest, public ::testing::WithParamInterface<Look> {
 protected:
  void SetUp() override {
    ResultsWindowTest::SetUp();
    // In the screen's own pixels: at scale 2 the window has half as many of its own.
    const QScreen& lab = *QApplication::primaryScreen();
    const QSize screen = lab.geometry().size() * lab.devicePixelRatio();
    if (screen.width() < 1280 || screen.height() < 1024) GTEST_SKIP() << "needs 1280x1024";
    font_ = QApplication::font();
    palette_ = QApplication::palette();
    if (GetParam().pointSize) {
      QFont font = font_;
      font.setPointSize(GetParam().pointSize);
      QApplication::setFont(font);
    }
    if (GetParam().dark) QApplication::setPalette(DarkPalette());
  }
  void TearDown() override {
    if (!IsSkipped()) {
      QApplication::setFont(font_);
      QApplication::setPalette(palette_);
    }
    ResultsWindowTest::TearDown();
  }

  // Every text the chart shows, with where it stands.
  static std::vector<std::pair<QString, QRectF>> Texts(QChart* chart) {
    std::vector<std::pair<QString, QRectF>> texts;
    for (QGraphicsItem* item : chart->scene()->items()) {
      if (!item->isVisible()) continue;
      QString text;
      if (auto* rich = dynamic_cast<QGraphicsTextItem*>(item)) text = rich->toPlainText();
      if (auto* simple = dynamic_cast<QGraphicsSimpleTextItem*>(item)) text = simple->text();
      if (!text.isEmpty()) texts.emplace_back(text, item->sceneBoundingRect());
    }
    return texts;
  }

  QFont font_;
  QPalette palette_;
};

TEST_P(ResultsWindowLooks, EverythingFitsAndFollowsThePalette) {
  const std::string name = "Maximiliana Konstantinopoulou-Wolfeschlegelsteinhausen";
  Keep(TResultsLocation::kDefaultFile, 0, 40);
  KeepNothingEarned(TResultsLocation::kDefaultFile, 4, 3, name);
  TResultsWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::processEvents();

  // On the screen it opened on.
  const QRect screen = window.screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window.frameGeometry()))
      << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " on "
      << screen.width() << "x" << screen.height();

  // Its foot in view: the settings, when the figures were read, and Close.
  for (QWidget* foot :
       {static_cast<QWidget*>(Button(window, "Close")), static_cast<QWidget*>(window.ReadAtLabel()),
        static_cast<QWidget*>(window.ServerEdit())})
    EXPECT_TRUE(screen.contains(QRect(foot->mapToGlobal(QPoint(0, 0)), foot->size())))
        << foot->metaObject()->className() << " out of sight";

  // Every header whole, every row as high as its texts wrapped; the points and percent in view
  // beside the long name.
  for (QTableWidget* table : {window.RunsTable(), window.MissedTable()}) {
    for (int column = 0; column < table->columnCount(); ++column)
      EXPECT_GE(table->columnWidth(column), table->horizontalHeader()->sectionSizeHint(column))
          << table->horizontalHeaderItem(column)->text().toStdString();
    const int margin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (int row = 0; row < table->rowCount(); ++row)
      for (int column = 0; column < table->columnCount(); ++column) {
        const QString text = table->item(row, column)->text();
        const QRect room(0, 0, table->columnWidth(column) - margin, 1 << 20);
        EXPECT_GE(table->rowHeight(row),
                  table->fontMetrics().boundingRect(room, Qt::TextWordWrap, text).height())
            << "cut: " << text.toStdString();
      }
  }
  QTableWidget* runs = window.RunsTable();
  ASSERT_TRUE(runs->findItems(QString::fromStdString(name), Qt::MatchExactly).size() > 0);
  EXPECT_EQ(runs->horizontalScrollBar()->value(), 0);
  EXPECT_LE(runs->columnViewportPosition(4) + runs->columnWidth(4), runs->viewport()->width());

  const QString folder = qEnvironmentVariable("TARVOLIN_RESULTS_SHOTS");
  const QPalette palette = window.palette();
  EXPECT_EQ(window.TypeChartTitle()->text(), "Points per reaction type, everyone");
  // Everyone, and then the student of the long name alone, whose name the titles hold whole.
  EXPECT_EQ(Categories(window.TypeChart()).size(), 5);
  for (int shown = 0; shown < 2; ++shown) {
    if (shown == 1) {
      if (!folder.isEmpty())
        window.grab().save(
            QDir(folder).filePath(QStringLiteral("results-%1.png").arg(GetParam().name)));
      window.StudentChoice()->setCurrentIndex(
          window.StudentChoice()->findText(QString::fromStdString(name)));
      window.Refresh();
      QApplication::processEvents();
      for (QLabel* title : {window.TypeChartTitle(), window.MistakeChartTitle()}) {
        EXPECT_TRUE(title->text().endsWith(QString::fromStdString(name)));
        EXPECT_TRUE(title->wordWrap());
        EXPECT_GE(title->height(), title->heightForWidth(title->width()))
            << title->text().toStdString();
      }
    }
    for (QChart* chart : {window.TypeChart(), window.MistakeChart()}) {
      const std::vector<std::pair<QString, QRectF>> texts = Texts(chart);
      for (const auto& [text, place] : texts) {
        EXPECT_FALSE(text.contains("...")) << "cut: " << text.toStdString();
        EXPECT_TRUE(chart->rect().contains(place)) << "outside the chart: " << text.toStdString();
      }
      for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j)
          EXPECT_FALSE(texts[i].second.intersects(texts[j].second))
              << texts[i].first.toStdString() << " runs into " << texts[j].first.toStdString();
      // Every type's name stands.
      for (const QString& category : Categories(chart)) {
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                [&](const auto& text) { return text.first == category; }))
            << "missing: " << category.toStdString();
      }
      EXPECT_EQ(chart->backgroundBrush().color(), palette.color(QPalette::Base));
      EXPECT_EQ(chart->legend()->labelColor(), palette.color(QPalette::Text));
      for (QAbstractAxis* axis : chart->axes())
        EXPECT_EQ(axis->labelsBrush().color(), palette.color(QPalette::Text));
      for (QBarSet* set : Sets(chart))
        EXPECT_GE(ContrastRatio(set->color(), palette.color(QPalette::Base)), 3.0)
            << set->label().toStdString();
    }
  }
  // Each series keeps its colour under the other palette.
  std::vector<QColor> colours;
  for (int round = 0; round < 2; ++round) {
    if (round == 1) QApplication::setPalette(GetParam().dark ? palette_ : DarkPalette());
    std::vector<QColor> now;
    for (QChart* chart : {window.TypeChart(), window.MistakeChart()})
      for (QBarSet* set : Sets(chart)) now.push_back(set->color());
    if (round == 1) {
      EXPECT_EQ(now, colours);
    }
    colours = now;
  }

  if (!folder.isEmpty())
    window.grab().save(
        QDir(folder).filePath(QStringLiteral("results-%1-student.png").arg(GetParam().name)));
}

INSTANTIATE_TEST_SUITE_P(, ResultsWindowLooks,
                         ::testing::Values(Look{"Light", 0, false}, Look{"Dark", 0, true},
                                           Look{"Font12", 12, false}, Look{"Font12Dark", 12, true},
                                           Look{"Font14", 14, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
