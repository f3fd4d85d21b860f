// The results window over the working folder's file and over files opened together.
#include "results/results_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>

#include "results/results_settings.h"
#include "results/results_store.h"
#include "tests/results/results_backend.h"
#include "tests/results/sample_answers.h"
#include "tests/support/driver.h"

namespace {

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
  // Bar values of a chart, set by set.
  static std::vector<std::vector<int>> Bars(QChart* chart) {
    std::vector<std::vector<int>> bars;
    auto* series = qobject_cast<QBarSeries*>(chart->series().value(0));
    if (!series) return bars;
    for (QBarSet* set : series->barSets()) {
      bars.emplace_back();
      for (int i = 0; i < set->count(); ++i) bars.back().push_back(static_cast<int>(set->at(i)));
    }
    return bars;
  }
  static QStringList Categories(QChart* chart) {
    for (QAbstractAxis* axis : chart->axes(Qt::Horizontal))
      if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis)) return categories->categories();
    return {};
  }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
  QTemporaryDir config_;
  TDriver driver_;
};

TEST_F(ResultsWindowTest, ShowsRunsChartsAndMissedQuestionsOfTheWorkingFolder) {
  Keep(TResultsLocation::kDefaultFile, 0, 40);
  TResultsWindow window;
  TResultsStore& store = window.Shown();
  EXPECT_EQ(window.RunsTable()->rowCount(), static_cast<int>(store.Runs({}, 1000).size()));
  EXPECT_EQ(window.RunsTable()->rowCount(), 8);
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
  window.CmOpen();
  EXPECT_EQ(window.Shown().AnswerCount(), 30);
  EXPECT_TRUE(window.SourceLabel()->text().contains("bench1.db, bench2.db"));
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

TEST_F(ResultsWindowTest, AFileThatIsNotResultsIsNamedAndTheOthersShown) {
  Keep("bench1.db", 0, 5);
  QFile bad("notes.db");
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(QByteArray(2048, 'x'));
  bad.close();
  TResultsWindow window;
  driver_.ExpectMessage(
      "These results could not be read:\nnotes.db cannot be opened (file is not a database)",
      "Warning");
  EXPECT_TRUE(window.OpenFiles({"notes.db", "bench1.db"}));
  driver_.Verify();
  EXPECT_EQ(window.Shown().AnswerCount(), 5);
}

TEST_F(ResultsWindowTest, ClearAsksFirstAndEmptiesOnlyOnYes) {
  Keep(TResultsLocation::kDefaultFile, 0, 10);
  TResultsWindow window;
  const std::string question =
      "Delete every answer kept in tarvolin-results.db? The results cannot be brought back.";
  driver_.ExpectMessage(question, "Confirmation").WithButtons(MbButtons::YesNo).Answer(IDNO);
  window.CmClear();
  EXPECT_EQ(window.Shown().AnswerCount(), 10);
  driver_.ExpectMessage(question, "Confirmation").Answer(IDYES);
  window.CmClear();
  driver_.Verify();
  EXPECT_EQ(window.Shown().AnswerCount(), 0);
  EXPECT_EQ(window.RunsTable()->rowCount(), 0);
  EXPECT_TRUE(Bars(window.TypeChart())[0].empty());
}

}  // namespace
