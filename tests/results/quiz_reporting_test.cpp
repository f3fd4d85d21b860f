// A quiz run driven as a student takes it, with the real grading and coaching, and what it
// left in the working folder's results file.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSemaphore>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>

#include "coach/check_answer.h"
#include "coach/rules/regrade.h"
#include "editor/select_dialog.h"
#include "keypad/equation_dialog.h"
#include "model/reaction_file.h"
#include "quiz/quiz_window.h"
#include "quiz/result_window.h"
#include "results/answer_poster.h"
#include "results/results_settings.h"
#include "results/results_store.h"
#include "tests/results/results_backend.h"
#include "tests/results/sample_answers.h"
#include "tests/support/driver.h"

namespace {

constexpr const char* kSuccess = "Very good, you have the correct net ionic equation.";
constexpr const char* kCompleted =
    "You have completed all of the reactions or there are no reactions in the chosen categories";

class QuizReporting : public ::testing::Test {
 protected:
  void SetUp() override {
    // Settings of this test's own, away from the account's and from tests running beside it.
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    // And answers waiting on this computer of its own.
    qputenv("XDG_DATA_HOME", config_.path().toUtf8());
    qunsetenv(TResultsLocation::kEnvironment);
    TResultsSettings().SetStudentName("");
    TResultsSettings().SetServer("");
    QDir::setCurrent(dir_.path());
    ASSERT_TRUE(WriteSilverReactions());
    window_ = std::make_unique<TQuizWindow>(nullptr, &CheckAnswer);
    // What the store says of an answer is known before the next question.
    window_->Reporter().SetPatience(20000);
    // The questions in file order.
    window_->Run().SetRandomSource([] { return 0u; });
  }
  void TearDown() override {
    window_.reset();
    QDir::setCurrent(previous_);
  }
  void ChooseAllTypes() {
    auto& script = driver_.ExpectDialog<TSelectDialog>();
    for (const char* type : {"Precipitation", "Acid/Base", "Redox", "Complex Ion", "Miscellaneous"})
      script.Press(type);
    script.Press(1);
  }
  void Right() {
    driver_.ExpectDialog<TEquationDialog>()
        .Press({"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"})
        .Press("Check");
    driver_.ExpectMessage(kSuccess, "Congratulations");
  }
  std::vector<TAnswerRecord> Kept() {
    TResultsStore store;
    EXPECT_TRUE(store.Open(TResultsLocation())) << store.Error();
    std::vector<TAnswerRecord> answers;
    store.ReadAnswers([&](const TAnswerRecord& r) {
      answers.push_back(r);
      return true;
    });
    std::sort(answers.begin(), answers.end(),
              [](const auto& a, const auto& b) { return a.questionNumber < b.questionNumber; });
    return answers;
  }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
  QTemporaryDir config_;
  TDriver driver_;
  std::unique_ptr<TQuizWindow> window_;
};

TEST_F(QuizReporting, EachAnswerIsKeptWithHowItWentAndHowItEnded) {
  ChooseAllTypes();
  Right();
  // The product missing, then added in coaching.
  driver_.ExpectDialog<TEquationDialog>().Press({"Ag", "1+", "+", "Cl", "1-"}).Press("Check");
  driver_.ExpectDialog("609").Press({"Ag", "Cl", "OK"});
  driver_.ExpectMessage(kSuccess, "Congratulations");
  // A substance that does not belong, and "&Answer".
  driver_.ExpectDialog<TEquationDialog>()
      .Press({"Na", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"})
      .Press("Check");
  driver_.ExpectDialog("608").Press("Answer");
  driver_.ExpectDialog<TResultWindow>().Press(1);
  driver_.ExpectDialog<TEquationDialog>().Press({"Ag", "1+"}).Press(2);
  window_->CmStart();
  driver_.Verify();

  const std::vector<TAnswerRecord> kept = Kept();
  ASSERT_EQ(kept.size(), 4u);
  struct Want {
    TEnding ending;
    int firstScore, finalScore;
    const char* firstAnswer;
    const char* finalAnswer;
    std::vector<TCoachingNote> coaching;
  };
  const Want wants[] = {
      {TEnding::RightAtOnce, 3, 3, "Ag+ + Cl- -> AgCl", "Ag+ + Cl- -> AgCl", {}},
      {TEnding::RightAfterCoaching,
       1,
       3,
       "Ag+ + Cl-",
       "Ag+ + Cl- -> AgCl",
       {{TCoachingStep::MissingSubstance, "AgCl"}}},
      {TEnding::Answer,
       2,
       2,
       "Na+ + Cl- -> AgCl",
       "Na+ + Cl- -> AgCl",
       {{TCoachingStep::WrongSubstance, "Na+"}}},
      {TEnding::Quit, 0, 0, "", "Ag+", {}},
  };
  const char* questions[] = {"Silver one.", "Silver two.", "Silver three.", "Silver four."};
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const TAnswerRecord& r = kept[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(r.ending, wants[i].ending);
    EXPECT_EQ(r.firstScore, wants[i].firstScore);
    EXPECT_EQ(r.finalScore, wants[i].finalScore);
    EXPECT_EQ(r.firstAnswer, wants[i].firstAnswer);
    EXPECT_EQ(r.finalAnswer, wants[i].finalAnswer);
    EXPECT_EQ(r.coaching, wants[i].coaching);
    EXPECT_EQ(r.questionNumber, static_cast<int>(i) + 1);
    EXPECT_EQ(r.question, questions[i]);
    EXPECT_EQ(r.questionType, Precipitation);
    EXPECT_EQ(r.storedAnswer, "Ag+ + Cl- -> AgCl");
    EXPECT_EQ(r.types, "Precipitation, Acid/Base, Redox, Complex Ion, Miscellaneous");
    EXPECT_EQ(r.runId, kept[0].runId);
    EXPECT_EQ(r.student, TResultsSettings().Student().toStdString());
    EXPECT_EQ(r.login, TResultsSettings::LoginName().toStdString());
    EXPECT_FALSE(r.login.empty());
    EXPECT_GE(r.seconds, 0);
    EXPECT_LT(r.seconds, 60);
    EXPECT_EQ(r.answeredAt.size(), 20u);
    // A teacher's window, grading it again, finds the scores the program's own.
    EXPECT_TRUE(ScoresGivenByTarvolin(r.storedAnswer, r.firstAnswer, r.finalAnswer, r.ending,
                                      r.firstScore, r.finalScore));
  }
  // The quiz's own score is untouched: 3 + 3 + 2 of 9, the Quit adding nothing.
  EXPECT_EQ(window_->Run().PointsEarned(), 8);
  EXPECT_EQ(window_->Run().PointsPossible(), 9);
}

TEST_F(QuizReporting, TheStudentNameSetOnTheAccountIsTheOneRecorded) {
  TResultsSettings().SetStudentName("  Bench 4: Marie  ");
  ChooseAllTypes();
  Right();
  driver_.ExpectDialog<TEquationDialog>().Press(2);
  window_->CmStart();
  driver_.Verify();
  const std::vector<TAnswerRecord> kept = Kept();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].student, "Bench 4: Marie");
  EXPECT_NE(kept[0].runId, "");
}

TEST_F(QuizReporting, AStoreThatCannotBeOpenedIsToldOncePerRunAndTheQuizGoesOn) {
  // A folder where the file should be: no account, root included, can open it as a file.
  ASSERT_TRUE(QDir().mkdir(TResultsLocation::kDefaultFile));
  const std::string message =
      "The results file tarvolin-results.db cannot be opened (unable to open database file); "
      "your answers are kept on this computer and sent later.";
  for (int run = 0; run < 2; ++run) {
    ChooseAllTypes();
    Right();
    driver_.ExpectMessage(message, "Warning").WithIcon(MbIcon::Exclamation);
    Right();
    Right();
    Right();
    driver_.ExpectMessage(std::string(kCompleted) +
                              "\n\nThis quiz run: 12 out of 12 points.\n"
                              "Right at once: 4 of 4 questions.\nNeeded coaching: none.\n"
                              "Reaction type most missed: none.",
                          "Information");
    window_->CmStart();
    driver_.Verify();
    EXPECT_EQ(window_->Run().PointsEarned(), 12);
  }
}

}  // namespace

namespace {

TEST_F(QuizReporting, ResultsOpensOneWindowThatFollowsTheAnswersAsTheyAreKept) {
  ASSERT_TRUE(window_->Dispatch(TQuizWindow::kCmResults));
  TResultsWindow* results = window_->ResultsWindow();
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->isVisible());
  EXPECT_EQ(results->RunsTable()->rowCount(), 0);
  ChooseAllTypes();
  Right();
  driver_.ExpectDialog<TEquationDialog>().Press(2);
  window_->CmStart();
  driver_.Verify();
  ASSERT_EQ(results->RunsTable()->rowCount(), 1);
  EXPECT_EQ(results->RunsTable()->item(0, 3)->text(), "3 of 3");
  window_->Dispatch(TQuizWindow::kCmResults);
  EXPECT_EQ(window_->ResultsWindow(), results);
}

}  // namespace

namespace {

TEST_F(QuizReporting, EachRunFollowsTheResultsSettingAndAnUnreadableAddressIsTold) {
  ChooseAllTypes();
  Right();
  driver_.ExpectDialog<TEquationDialog>().Press(2);
  window_->CmStart();
  driver_.Verify();

  qputenv(TResultsLocation::kEnvironment, "postgresql://teacher@school.example");
  ChooseAllTypes();
  Right();
  driver_.ExpectMessage(
      "The class server address in TARVOLIN_RESULTS cannot be read (the database name is "
      "missing): give postgresql://user@host/dbname; your answers are kept on this computer and "
      "sent later.",
      "Warning");
  driver_.ExpectDialog<TEquationDialog>().Press(2);
  window_->CmStart();
  driver_.Verify();

  qputenv(TResultsLocation::kEnvironment, "elsewhere.db");
  ChooseAllTypes();
  Right();
  driver_.ExpectDialog<TEquationDialog>().Press(2);
  window_->CmStart();
  driver_.Verify();
  qunsetenv(TResultsLocation::kEnvironment);

  EXPECT_EQ(Kept().size(), 2u);
  // The answers that waited while the address could not be read went with the next ones.
  TResultsStore elsewhere;
  ASSERT_TRUE(elsewhere.Open(TResultsLocation::File("elsewhere.db"))) << elsewhere.Error();
  EXPECT_EQ(elsewhere.AnswerCount(), 4);
}

}  // namespace

namespace {

// Passes TCP connections on to the test server's socket, on a thread of its own, until told to
// go silent; from then on it swallows every byte both ways, as a network that stops delivering.
class TRelay : public QThread {
 public:
  explicit TRelay(const std::string& socketPath) : socket_(QString::fromStdString(socketPath)) {
    start();
    ready_.acquire();
  }
  ~TRelay() override {
    quit();
    wait();
  }
  int Port() const { return port_; }
  void GoSilent() { silent_ = true; }

 private:
  void run() override {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    port_ = server.serverPort();
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
      QTcpSocket* client = server.nextPendingConnection();
      auto* backend = new QLocalSocket(client);
      backend->connectToServer(socket_);
      backend->waitForConnected(2000);
      const auto pass = [this](QIODevice* from, QIODevice* to) {
        const QByteArray data = from->readAll();
        if (!silent_) to->write(data);
      };
      QObject::connect(client, &QTcpSocket::readyRead, backend, [=] { pass(client, backend); });
      QObject::connect(backend, &QLocalSocket::readyRead, client, [=] { pass(backend, client); });
      QObject::connect(backend, &QLocalSocket::disconnected, client, &QTcpSocket::close);
    });
    ready_.release();
    exec();
  }

  QString socket_;
  std::atomic<int> port_{0};
  std::atomic<bool> silent_{false};
  QSemaphore ready_;
};

TEST_F(QuizReporting, AClassServerThatFallsSilentIsToldWithinSecondsAndExitTakesThreeAtMost) {
  TBackendPlace place(TBackend::Postgresql);
  SKIP_WITHOUT_BACKEND(place);
  TResultsLocation location = place.NewLocation();
  TRelay relay(location.host + "/.s.PGSQL." + std::to_string(location.port));
  location.host = "127.0.0.1";
  location.port = relay.Port();
  qputenv(TResultsLocation::kEnvironment, location.Address().c_str());
  TAnswerReporter& reporter = window_->Reporter();
  reporter.SetPatience(0);
  reporter.BeginRun();
  std::string why;
  reporter.Record(SampleAnswer(0, "Ada", "silent"), why);
  ASSERT_TRUE(reporter.Poster().Finish(10000));
  ASSERT_EQ(reporter.PosterStatus().problem, "");
  ASSERT_EQ(reporter.PosterStatus().sent, 1);

  relay.GoSilent();
  QElapsedTimer timer;
  timer.start();
  reporter.Record(SampleAnswer(1, "Ada", "silent"), why);
  const std::string told =
      "The class server does not answer: 1 answer waiting for the class server";
  while (timer.elapsed() < 20000 && window_->WaitingShown() != told) {
    QCoreApplication::processEvents();
    QThread::msleep(50);
  }
  EXPECT_EQ(window_->WaitingShown(), told);
  // The program ends while the sender is still held up in its statement.
  timer.restart();
  window_.reset();
  EXPECT_LE(timer.elapsed(), TAnswerPoster::kFinishMilliseconds + 200);
  qunsetenv(TResultsLocation::kEnvironment);
}

}  // namespace
