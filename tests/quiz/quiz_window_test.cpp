// Quiz runs driven end to end: the type choice, answer dialogs, result dialogs and messages.
#include "quiz/quiz_window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>

#include "coach/grader.h"
#include "editor/select_dialog.h"
#include "keypad/answer_window.h"
#include "model/reaction_file.h"
#include "quiz/result_window.h"
#include "tests/support/driver.h"
#include "tests/support/recording_surface.h"

namespace {

constexpr const char* kCompleted =
    "You have completed all of the reactions or there are no reactions in the chosen categories";
const std::vector<std::string_view> kAllTypes = {"Precipitation", "Acid/Base", "Redox",
                                                 "Complex Ion", "Miscellaneous"};

std::unique_ptr<TReaction> Reaction(const char* question, int32_t type,
                                    std::vector<Substance> reactants,
                                    std::vector<Substance> products) {
  auto reaction = std::make_unique<TReaction>(question, type);
  std::copy(reactants.begin(), reactants.end(), reaction->reactants);
  std::copy(products.begin(), products.end(), reaction->products);
  return reaction;
}
auto Silver() {
  return Reaction("Silver.", 0, {{"Ag", 1}, {"Cl", -1}}, {{"AgCl", 0}});
}
auto Water() {
  return Reaction("Water.", 1, {{"H", 1}, {"OH", -1}}, {{"H2O", 0}});
}
auto Zinc() {
  return Reaction("Zinc.", 2, {{"Zn", 0}, {"Cu", 2}}, {{"Zn", 2}, {"Cu", 0}});
}
auto OddType() {
  return Reaction("Odd.", 9, {{"Na", 0}}, {{"Na", 1}});
}

const std::initializer_list<std::string_view> kSilverRight = {"Ag", "1+", "+",  "Cl",
                                                              "1-", "->", "Ag", "Cl"};
const std::initializer_list<std::string_view> kZincRight = {"Zn", "+",  "Cu", "2+", "->",
                                                            "Zn", "2+", "+",  "Cu"};

// Grades without coaching, so that the key presses alone decide every answer.
void GradeOnly(TEquationDialog& dialog) {
  ComparisonTable correct;
  *dialog.Points() = GradeAnswer(dialog.Reaction(), *dialog.AnswerWindow()->Equation(), correct,
                                 dialog.StudentTable());
  dialog.CloseWindow(*dialog.Points() == 3 ? 1 : 7);
}

class QuizWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { QDir::setCurrent(dir_.path()); }
  void TearDown() override { QDir::setCurrent(previous_); }

  void Write(std::vector<std::unique_ptr<TReaction>> reactions) {
    TReactionList list;
    for (auto& reaction : reactions) list.push_back(std::move(reaction));
    ASSERT_TRUE(WriteReactionFile(list));
  }
  // Asks in file order among the reactions still eligible.
  std::unique_ptr<TQuizWindow> MakeWindow() {
    auto window = std::make_unique<TQuizWindow>(nullptr, &GradeOnly);
    window->Run().SetRandomSource([] { return 0u; });
    return window;
  }
  // The answer dialog for that reaction, with the score the view shows meanwhile.
  TDialogScript<TEquationDialog>& Asks(std::unique_ptr<TReaction> reaction, int earned,
                                       int possible) {
    return driver_.ExpectDialog<TEquationDialog>().Check(
        [this, question = std::string(reaction->Question()), earned, possible](TEquationDialog& d) {
          EXPECT_EQ(d.Reaction().Question(), question);
          EXPECT_EQ(window_->Run().PointsEarned(), earned);
          EXPECT_EQ(window_->Run().PointsPossible(), possible);
        });
  }
  void ChooseTypes(const std::vector<std::string_view>& types, int button = 1) {
    auto& script = driver_.ExpectDialog<TSelectDialog>();
    for (std::string_view type : types) script.Press(type);
    script.Press(button);
  }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
  TDriver driver_;
  std::unique_ptr<TQuizWindow> window_;
};

TEST_F(QuizWindowTest, WholeRunFromStartToCompletion) {
  std::vector<std::unique_ptr<TReaction>> reactions;
  for (auto* make : {&OddType, &Silver, &Water, &Zinc}) reactions.push_back(make());
  Write(std::move(reactions));
  window_ = MakeWindow();
  ChooseTypes({"Precipitation", "Acid/Base", "Redox"});
  Asks(Silver(), 0, 0).Press(kSilverRight).Press(1);
  // Reactants right, the product wrong: 1 point.
  Asks(Water(), 3, 3).Press({"H", "1+", "+", "O", "H", "1-", "->", "H", "2"}).Press(1);
  driver_.ExpectDialog<TResultWindow>()
      .Check([](TResultWindow& d) {
        QStringList texts;
        for (QLabel* label : d.findChildren<QLabel*>()) texts << label->text();
        EXPECT_TRUE(texts.contains("You earn 1 out of 3 on this question."));
        EXPECT_TRUE(texts.contains("You now have 4 total points out of 6."));
        // Both rows whole (H + OH -> H2, H + OH -> H2O), though grading cleared what matched.
        EXPECT_EQ(texts.count("H"), 6);
      })
      .Press(1);
  Asks(Zinc(), 4, 6).Press(kZincRight).Press(1);
  driver_.ExpectMessage(kCompleted, "Information").WithIcon(MbIcon::Exclamation);
  window_->CmStart();
  driver_.Verify();
  EXPECT_TRUE(driver_.IgnoredPresses().empty());
  EXPECT_EQ(window_->Run().PointsEarned(), 7);
  EXPECT_EQ(window_->Run().PointsPossible(), 9);
}

TEST_F(QuizWindowTest, QuitAndCancelAddNothingAndEachStartAsksEverythingAgain) {
  std::vector<std::unique_ptr<TReaction>> reactions;
  for (auto* make : {&Silver, &Zinc}) reactions.push_back(make());
  Write(std::move(reactions));
  window_ = MakeWindow();
  ChooseTypes(kAllTypes);
  Asks(Silver(), 0, 0).Press(kSilverRight).Press(1);
  Asks(Zinc(), 3, 3).Press({"Zn", "+"}).Press(2);
  window_->CmStart();
  ChooseTypes(kAllTypes, 2);
  window_->CmStart();
  EXPECT_EQ(window_->Run().PointsEarned(), 3);
  EXPECT_EQ(window_->Run().PointsPossible(), 3);

  ChooseTypes(kAllTypes);
  Asks(Silver(), 0, 0).Press(2);
  window_->CmStart();
  EXPECT_EQ(window_->Run().PointsPossible(), 0);
}

TEST_F(QuizWindowTest, NothingToAskGivesTheCompletionMessageAtOnce) {
  for (bool missing : {true, false}) {
    std::filesystem::remove(kReactionFileName);
    std::vector<std::unique_ptr<TReaction>> onlyTypeNine;
    onlyTypeNine.push_back(OddType());
    if (missing)
      driver_.ExpectMessage("Cannot open tarvolin.rxn", "Information")
          .WithIcon(MbIcon::Exclamation);
    else
      Write(std::move(onlyTypeNine));
    window_ = MakeWindow();
    ChooseTypes(kAllTypes);
    driver_.ExpectMessage(kCompleted, "Information");
    window_->CmStart();
    driver_.Verify();
  }
}

TEST_F(QuizWindowTest, DamagedFileIsReportedAndItsCompleteReactionsKept) {
  std::vector<std::unique_ptr<TReaction>> reactions;
  for (auto* make : {&Silver, &Water}) reactions.push_back(make());
  Write(std::move(reactions));
  std::filesystem::resize_file(kReactionFileName, 4 + kReactionRecordSize + 100);
  driver_.ExpectMessage(ReadResultMessage(ReadResult::Damaged), "Warning");
  window_ = MakeWindow();
  ASSERT_EQ(window_->Reactions().size(), 1u);
  EXPECT_EQ(window_->Reactions()[0]->Question(), "Silver.");
}

TEST(QuizPrompt, ScoreLineOnlyOnceAQuestionWasAnswered) {
  const std::string prompt = "Select Start from the Tarvolin Menu or Press F3";
  RecordingSurface before(8, 13), after(8, 13);
  TQuizWindow::DrawPrompt(before, 0, 0);
  TQuizWindow::DrawPrompt(after, 10, 12);
  EXPECT_EQ(before.pieces, (std::vector<RecordingSurface::Piece>{{30, 10, prompt}}));
  EXPECT_EQ(after.pieces, (std::vector<RecordingSurface::Piece>{
                              {30, 10, prompt}, {30, 49, "You have scored 10 out of 12 points."}}));
}

}  // namespace
