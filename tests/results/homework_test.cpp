// Homework as a class does it: the teacher assigns ticked reactions from the editor into the
// class's shared results file, a student answers them from her Assignments list over restarts
// and while the store is away.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include "coach/check_answer.h"
#include "editor/assign_dialog.h"
#include "editor/assignment_list_dialog.h"
#include "editor/react_window.h"
#include "keypad/equation_dialog.h"
#include "model/reaction_file.h"
#include "quiz/quiz_window.h"
#include "quiz/student_assignments_dialog.h"
#include "results/results_settings.h"
#include "results/results_store.h"
#include "tests/results/sample_answers.h"
#include "tests/support/driver.h"
#include "tests/support/has_text.h"
#include "ui/radio_button.h"

namespace {

constexpr const char* kSuccess = "Very good, you have the correct net ionic equation.";

class Homework : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
    qputenv("XDG_DATA_HOME", home_.path().toUtf8());
    qunsetenv(TResultsLocation::kEnvironment);
    TResultsSettings().SetStudentName("Ann");
    TResultsSettings().SetServer("");
    QDir::setCurrent(dir_.path());
    ASSERT_TRUE(WriteSilverReactions());
  }
  void TearDown() override {
    qunsetenv(TResultsLocation::kEnvironment);
    QDir::setCurrent(previous_);
  }
  void UseSharedFile() { qputenv(TResultsLocation::kEnvironment, shared_.toUtf8()); }
  std::vector<TAssignment> Given() {
    TResultsStore store;
    EXPECT_TRUE(store.Open(TResultsLocation::File(shared_.toStdString()))) << store.Error();
    return store.Assignments();
  }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
  QTemporaryDir home_;
  QString shared_ = dir_.filePath("lab/tarvolin-results.db");
  TDriver driver_;
};

struct AssignCase {
  const char* name;
  int ticked;
  // TARVOLIN_RESULTS: null for none, "shared" for the lab's file, "silent" for a class server
  // that takes the connection and never answers
  const char* results;
  const char* told;  // what the message says
};

class AssignFromTheEditor : public Homework, public testing::WithParamInterface<AssignCase> {};

TEST_P(AssignFromTheEditor, TellsWhatIsNeededOrKeepsTheTickedReactionsWhereTheClassGoes) {
  const AssignCase& row = GetParam();
  QDir(dir_.path()).mkpath("lab");
  const bool silent = row.results && std::string(row.results) == "silent";
  QTcpServer server;
  if (silent) {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const std::string address =
        "postgresql://tess@127.0.0.1:" + std::to_string(server.serverPort()) +
        "/chem?connect_timeout=1";
    qputenv(TResultsLocation::kEnvironment, address.c_str());
  } else if (row.results && std::string(row.results) == "shared")
    UseSharedFile();
  else if (row.results)
    qputenv(TResultsLocation::kEnvironment, row.results);
  TReactWindow view(nullptr);
  view.resize(600, 400);
  view.Create();
  for (int k = 0; k < row.ticked; ++k)
    view.CheckBox(static_cast<std::size_t>(2 * k))->SetCheck(true);
  const bool assigns = std::string(row.told).starts_with("\"");
  if (assigns)
    driver_.ExpectDialog<TAssignDialog>()
        .Do([](TAssignDialog& dialog) {
          dialog.Edit(TAssignDialog::kTitle)->setText("Homework 3");
        })
        .Press("shuffled, in an order of her own")
        .Press(1);
  std::string told;
  SetMessageBoxHandler([&told](const TMessageBoxRequest& request) {
    told = request.text;
    return IDOK;
  });
  // The window keeps drawing while the store is reached.
  int ticks = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
  clock.start(50);
  view.CmAssign();
  driver_.Verify();
  EXPECT_TRUE(HasText(told, row.told)) << told;
  if (silent) {
    EXPECT_GT(ticks, 5);
  }
  if (!assigns) return;
  const std::vector<TAssignment> given = Given();
  ASSERT_EQ(given.size(), 1u);
  EXPECT_EQ(given[0].title, "Homework 3");
  EXPECT_TRUE(given[0].shuffled);
  EXPECT_EQ(given[0].due, DefaultDue(std::time(nullptr)));
  ASSERT_EQ(given[0].reactions.size(), 2u);
  EXPECT_EQ(given[0].reactions[1].question, "Silver three.");
}

// clang-format off
const AssignCase kAssign[] = {
    {"NothingTicked", 0, "shared", "No reaction is ticked"},
    {"NoClassStore", 2, nullptr, "no class server or shared results file"},
    {"AddressNotRead", 2, "postgresql://", "TARVOLIN_RESULTS"},
    {"SharedFile", 2, "shared", "\"Homework 3\" is assigned: 2 questions, due "},
    {"ServerNotAnswering", 2, "silent", "does not answer. Assignments cannot be given"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, AssignFromTheEditor, testing::ValuesIn(kAssign),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Homework, AStudentGoesOnWhereSheStoppedAfterARestartAndWhileTheStoreIsAway) {
  UseSharedFile();
  QDir(dir_.path()).mkpath("lab");
  TReactionList reactions;
  ASSERT_EQ(ReadReactionFile(reactions), ReadResult::Ok);
  TAssignment assignment =
      MakeAssignment({reactions[3].get(), reactions[0].get(), reactions[2].get()},
                     {"Homework 3", "2099-01-01T08:00:00Z", false}, "t", "hw3", 0);
  {
    TResultsStore store;
    ASSERT_TRUE(store.Open(TResultsLocation::File(shared_.toStdString())));
    ASSERT_TRUE(store.WriteAssignment(assignment));
  }
  auto asked = [this](const char* question) {
    return [question](TEquationDialog& dialog) {
      EXPECT_EQ(dialog.Reaction().QuestionText(), question);
    };
  };
  auto right = [&](const char* question) {
    driver_.ExpectDialog<TEquationDialog>()
        .Check(asked(question))
        .Press({"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"})
        .Press("Check");
    driver_.ExpectMessage(kSuccess, "Congratulations");
  };
  // A restart of the program; what the store says of an answer is known by the next.
  auto start = [] {
    TQuizWindow window(nullptr, &CheckAnswer);
    window.Reporter().SetPatience(20000);
    window.CmAssignments();
  };
  auto quitAt = [&](const char* question) {
    driver_.ExpectDialog<TEquationDialog>().Check(asked(question)).Press(2);
  };
  // Her list, and how the line above it begins.
  auto list = [&](const char* state, const char* where = "As ") {
    driver_.ExpectDialog<TStudentAssignmentsDialog>()
        .Check([state, where](TStudentAssignmentsDialog& dialog) {
          const auto* line =
              qobject_cast<QLabel*>(dialog.Control(TStudentAssignmentsDialog::kWhere));
          EXPECT_TRUE(line->text().startsWith(where)) << line->text().toStdString();
          ASSERT_EQ(dialog.Rows().size(), 1u);
          EXPECT_EQ(dialog.Rows()[0][0], "Homework 3");
          EXPECT_EQ(dialog.Rows()[0][2], "3");
          EXPECT_EQ(dialog.Rows()[0][3], state);
        })
        .Press(1);
  };
  // Two answered in the listed order, then Quit; the program ends.
  list("not started");
  right("Silver four.");
  right("Silver one.");
  quitAt("Silver three.");
  start();
  driver_.Verify();
  // Started again while the class's store is away: her list as last read, where she stopped.
  qputenv(TResultsLocation::kEnvironment, "postgresql://ann@127.0.0.1:1/chem");
  list("2 of 3", "The class server at 127.0.0.1:1 is not running. Below are your assignments");
  quitAt("Silver three.");
  driver_.ExpectMessage(
      "The class server at 127.0.0.1:1 is not running; your answers are kept on "
      "this computer and sent later.",
      "Warning");
  start();
  driver_.Verify();
  // Back: the store has her answers, and she goes on at the third question.
  UseSharedFile();
  list("2 of 3");
  right("Silver three.");
  driver_.ExpectMessage(
      "You have answered every question of \"Homework 3\".\nThis quiz run: 3 out of "
      "3 points.\nRight at once: 1 of 1 question.\nNeeded coaching: none.\n"
      "Reaction type most missed: none.",
      "Information");
  start();
  driver_.Verify();
  TResultsStore store;
  ASSERT_TRUE(store.Open(TResultsLocation::File(shared_.toStdString())));
  std::vector<int32_t> numbers;
  store.ReadAnswers([&numbers](const TAnswerRecord& record) {
    EXPECT_EQ(record.assignmentId, "hw3");
    if (record.ending != TEnding::Quit) numbers.push_back(record.questionNumber);
    return true;
  });
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(numbers, (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(Homework, TheTeacherChangesAndWithdrawsAndTheStudentIsNoLongerOfferedIt) {
  UseSharedFile();
  QDir(dir_.path()).mkpath("lab");
  TReactionList reactions;
  ASSERT_EQ(ReadReactionFile(reactions), ReadResult::Ok);
  const TAssignment given = MakeAssignment(
      {reactions[1].get()}, {"Homework 3", "2099-01-01T08:00:00Z", true}, "t", "hw3", 0);
  {
    TResultsStore store;
    ASSERT_TRUE(store.Open(TResultsLocation::File(shared_.toStdString())));
    ASSERT_TRUE(store.WriteAssignment(given));
  }
  driver_.ExpectDialog<TAssignmentListDialog>()
      .Check([](TAssignmentListDialog& dialog) { EXPECT_EQ(dialog.Assignments().size(), 1u); })
      .Press("Change...")
      .Press("Withdraw...")
      .PressExpectingDisabled("Withdraw...")
      .Press("Close");
  driver_.ExpectDialog<TAssignDialog>()
      .Check([](TAssignDialog& dialog) {
        EXPECT_FALSE(dialog.RadioButton(TAssignDialog::kListed)->isEnabled());
      })
      .Do([](TAssignDialog& dialog) { dialog.Edit(TAssignDialog::kTitle)->setText("Homework 3b"); })
      .Press(1);
  driver_
      .ExpectMessage(
          "Withdraw \"Homework 3b\"? Your students will no longer be offered it. The "
          "answers already given to it are kept, and the results still show them.",
          "Your Assignments")
      .Answer(IDYES);
  TReactWindow view(nullptr);
  view.CmAssignments();
  driver_.ExpectDialog<TStudentAssignmentsDialog>()
      .Check([](TStudentAssignmentsDialog& dialog) { EXPECT_TRUE(dialog.Rows().empty()); })
      .PressExpectingDisabled(1)
      .Press("Close");
  TQuizWindow(nullptr, &CheckAnswer).CmAssignments();
  driver_.Verify();
  TAssignment changed = given;
  changed.title = "Homework 3b";
  changed.withdrawn = true;
  EXPECT_EQ(Given(), std::vector<TAssignment>{changed});
}

}  // namespace
