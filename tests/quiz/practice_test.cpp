// Practice as a student takes it: a quiz with mistakes, then Practice... planned from the
// answers kept in the working folder's file, and, with the results away, from the copy kept.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTemporaryDir>
#include <map>

#include "coach/check_answer.h"
#include "editor/select_dialog.h"
#include "model/reaction_file.h"
#include "quiz/practice_dialog.h"
#include "quiz/quiz_window.h"
#include "quiz/result_window.h"
#include "results/kept_history.h"
#include "results/results_settings.h"
#include "results/results_store.h"
#include "tests/results/sample_answers.h"
#include "tests/support/driver.h"

namespace {

constexpr const char* kSuccess = "Very good, you have the correct net ionic equation.";

class Practice : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) saved_[name] = qgetenv(name);
    qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
    qputenv("XDG_DATA_HOME", home_.path().toUtf8());
    qunsetenv(TResultsLocation::kEnvironment);
    TResultsSettings().SetServer("");
    QDir::setCurrent(dir_.path());
    ASSERT_TRUE(WriteSilverReactions());
    window_ = std::make_unique<TQuizWindow>(nullptr, &CheckAnswer);
    window_->Reporter().SetPatience(20000);
    window_->Run().SetRandomSource([] { return 0u; });
  }
  void TearDown() override {
    window_.reset();
    QDir::setCurrent(previous_);
    // The tests beside these keep the account's own places.
    qunsetenv(TResultsLocation::kEnvironment);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
      if (saved_[name].isNull())
        qunsetenv(name);
      else
        qputenv(name, saved_[name]);
  }
  void Right() {
    driver_.ExpectDialog<TEquationDialog>()
        .Check([this](TEquationDialog& d) { asked_ += d.Reaction().QuestionText() + " "; })
        .Press({"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"})
        .Press("Check");
    driver_.ExpectMessage(kSuccess, "Congratulations");
  }
  // The plan's line and the note under it, then Start (1) or Cancel (2).
  void Plan(const std::string& line, const std::string& note, int button) {
    driver_.ExpectDialog<TPracticeDialog>()
        .Check([=](TPracticeDialog& d) {
          EXPECT_EQ(d.WhyShown(), line);
          EXPECT_EQ(qobject_cast<QLabel*>(d.Control(TPracticeDialog::kNote))->text().toStdString(),
                    note);
        })
        .Press(button);
  }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_, home_;
  TDriver driver_;
  std::unique_ptr<TQuizWindow> window_;
  std::string asked_;
  std::map<std::string, QByteArray> saved_;
};

TEST_F(Practice, MissedFirstThenWhatItCoachedAndOnOnceRightFromTheCopyKept) {
  // The first time, with nothing answered, a quiz is offered.
  driver_
      .ExpectMessage(
          "You have not answered any questions yet, so there are no mistakes of yours to "
          "practise.\n\nStart a quiz now?",
          "Practice")
      .Answer(IDNO);
  window_->CmPractice();
  // A quiz: one right, one missing its product, one with a spectator, then Quit.
  auto& types = driver_.ExpectDialog<TSelectDialog>();
  types.Press("Precipitation").Press(1);
  Right();
  driver_.ExpectDialog<TEquationDialog>().Press({"Ag", "1+", "+", "Cl", "1-"}).Press("Check");
  driver_.ExpectDialog("609").Press({"Ag", "Cl", "OK"});
  driver_.ExpectMessage(kSuccess, "Congratulations");
  driver_.ExpectDialog<TEquationDialog>()
      .Press({"Na", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"})
      .Press("Check");
  driver_.ExpectDialog("608").Press("Answer");
  driver_.ExpectDialog<TResultWindow>().Press(1);
  driver_.ExpectDialog<TEquationDialog>().Press(2);
  window_->CmStart();
  // The two missed come first, then the others for the coaching both needed.
  Plan("4 questions: 2 you missed, 2 on leaving out what takes no part.", "", 1);
  asked_.clear();
  for (int i = 0; i < 4; ++i) Right();
  driver_
      .ExpectMessage(
          "You have answered every practice question.\n\nThis quiz run: 12 out of 12 points.\n"
          "Right at once: 4 of 4 questions.\nNeeded coaching: none.\nReaction type most missed: "
          "none.",
          "Practice")
      .WithIcon(MbIcon::Success);
  window_->CmPractice();
  driver_.Verify();

  EXPECT_EQ(asked_.substr(0, 25), "Silver two. Silver three.");
  TResultsStore store;
  ASSERT_TRUE(store.Open(TResultsLocation())) << store.Error();
  std::vector<int> practice;
  store.ReadAnswers([&](const TAnswerRecord& r) { return practice.push_back(r.practice), true; });
  std::sort(practice.begin(), practice.end());
  EXPECT_EQ(practice, (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1}));

  // Put right once, the missed ones wait a few days; the results away, the copy kept plans.
  qputenv(TResultsLocation::kEnvironment, (dir_.path() + "/away/results.db").toUtf8());
  QFile kept(QString::fromStdString(TKeptHistory::DefaultPath()));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  const QString readAt = QJsonDocument::fromJson(kept.readAll()).object()["readAt"].toString();
  Plan("2 questions: 2 on leaving out what takes no part.",
       "Your answers cannot be read now. " + dir_.path().toStdString() +
           "/away/results.db cannot be found. These are chosen from your answers as last read, " +
           readAt.left(10).toStdString() + " " + readAt.mid(11, 5).toStdString() +
           " UTC. What you answer waits on this computer and is sent once it can be.",
       2);
  window_->CmPractice();
  driver_.Verify();
}

}  // namespace
