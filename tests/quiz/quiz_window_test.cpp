// Quiz runs driven end to end: the type choice, answer dialogs, result dialogs and messages.
#include "quiz/quiz_window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>

#include "coach/check_answer.h"
#include "coach/rules/grader.h"
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
std::optional<TCheckResult> GradeOnly(TEquationDialog& dialog) {
  ComparisonTable correct, student;
  const int score =
      GradeAnswer(dialog.Reaction(), *dialog.AnswerWindow()->Equation(), correct, student);
  return TCheckResult{score, score, {}};
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
  driver_
      .ExpectMessage(std::string(kCompleted) +
                         "\n\nThis quiz run: 7 out of 9 points.\nRight at once: 2 of 3 "
                         "questions.\nNeeded coaching: 1 question.\nReaction type most missed: "
                         "Acid/Base (1 question).",
                     "Information")
      .WithIcon(MbIcon::Exclamation);
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

// Pixels in rows [top, bottom) of the image that are not the background colour.
int InkBetween(const QImage& image, int top, int bottom, QRgb background) {
  int ink = 0;
  for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
    for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) != background;
  return ink;
}

TEST_F(QuizWindowTest, StartButtonUnderTheScoreRunsStartAndTheSummaryFollowsTheRun) {
  std::vector<std::unique_ptr<TReaction>> reactions;
  for (auto* make : {&Silver, &Water}) reactions.push_back(make());
  Write(std::move(reactions));
  window_ = MakeWindow();
  window_->show();
  QPushButton* start = window_->StartButton();
  ASSERT_NE(start, nullptr);
  EXPECT_TRUE(start->isVisible());
  const int h = QFontMetrics(window_->font()).height();
  EXPECT_EQ(start->x(), 30);
  EXPECT_GE(start->y(), 10 + 4 * h);  // below the score line
  const QRgb background = window_->palette().color(QPalette::Base).rgb();
  const int summaryTop = start->geometry().bottom() + 1;
  EXPECT_EQ(InkBetween(window_->grab().toImage(), summaryTop, window_->height(), background), 0);

  // A click is Start: the type choice, then the questions; the summary only once it stopped.
  ChooseTypes(kAllTypes);
  Asks(Silver(), 0, 0)
      .Check([this](TEquationDialog&) { EXPECT_TRUE(window_->SummaryShown().empty()); })
      .Press(kSilverRight)
      .Press(1);
  const auto noSummary = [this](auto&) { EXPECT_TRUE(window_->SummaryShown().empty()); };
  Asks(Water(), 3, 3)
      .Check(noSummary)
      .Press({"H", "1+", "+", "O", "H", "1-", "->", "H", "2"})
      .Press(1);
  driver_.ExpectDialog<TResultWindow>().Check(noSummary).Press(1);
  driver_.ExpectMessage(std::string(kCompleted) +
                            "\n\nThis quiz run: 4 out of 6 points.\nRight at once: 1 of 2 "
                            "questions.\nNeeded coaching: 1 question.\nReaction type most "
                            "missed: Acid/Base (1 question).",
                        "Information");
  start->click();
  driver_.Verify();
  EXPECT_FALSE(window_->Running());
  EXPECT_EQ(window_->SummaryShown(), window_->Run().Summary().Lines());
  EXPECT_EQ(window_->SummaryShown().size(), 4u);
  // Drawn below the button, about four lines of it.
  const QImage after = window_->grab().toImage();
  EXPECT_GT(InkBetween(after, summaryTop, summaryTop + 6 * h, background), 0);
  EXPECT_EQ(InkBetween(after, summaryTop + 6 * h, window_->height(), background), 0);

  // Cancelled, a new Start keeps the last run's summary.
  ChooseTypes(kAllTypes, 2);
  start->click();
  EXPECT_EQ(window_->SummaryShown().size(), 4u);
}

TEST_F(QuizWindowTest, PaintsOnTheBaseColourOfADarkPalette) {
  Write({});
  window_ = MakeWindow();
  QPalette dark = window_->palette();
  dark.setColor(QPalette::Base, QColor(30, 30, 34));
  dark.setColor(QPalette::Window, QColor(45, 45, 48));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  window_->setPalette(dark);
  const QImage image = window_->grab().toImage();
  EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(30, 30, 34));
  // The prompt is drawn in the palette's light text, none of it black.
  int light = 0, black = 0;
  const int h = QFontMetrics(window_->font()).height();
  for (int y = 10; y < 10 + h; ++y)
    for (int x = 30; x < std::min(image.width(), 330); ++x) {
      const QColor pixel(image.pixel(x, y));
      light += pixel.lightness() > 180;
      black += pixel.lightness() < 20;
    }
  EXPECT_GT(light, 0);
  EXPECT_EQ(black, 0);
}

// A Check grades the answer once, whoever watches it; coaching grades again only after a step
// of its own (here none: "&Answer" in the first coaching dialog).
struct GradingCase {
  const char* name;
  std::vector<std::string_view> keys;
  std::function<void(TDriver&)> after;  // the dialogs and messages after Check
};

void PrintTo(const GradingCase& row, std::ostream* os) {
  *os << row.name;
}

class GradingsPerCheck : public QuizWindowTest, public testing::WithParamInterface<GradingCase> {};

TEST_P(GradingsPerCheck, OneGradingPerCheck) {
  std::vector<std::unique_ptr<TReaction>> reactions;
  for (auto* make : {&Silver, &Water}) reactions.push_back(make());
  Write(std::move(reactions));
  window_ = std::make_unique<TQuizWindow>(nullptr, &CheckAnswer);
  window_->Run().SetRandomSource([] { return 0u; });
  ChooseTypes(kAllTypes);
  auto& answer = driver_.ExpectDialog<TEquationDialog>();
  for (std::string_view key : GetParam().keys) answer.Press(key);
  answer.Press("Check");
  GetParam().after(driver_);
  // Quit grades nothing.
  driver_.ExpectDialog<TEquationDialog>().Press("Quit");
  const long before = GradingCount();
  window_->CmStart();
  driver_.Verify();
  EXPECT_EQ(GradingCount() - before, 1);
}

const GradingCase kGradingCases[] = {
    {"RightAtOnce", kSilverRight,
     [](TDriver& d) {
       d.ExpectMessage("Very good, you have the correct net ionic equation.", "Congratulations");
     }},
    {"AnswerInTheFirstCoachingDialog",
     {"Ag", "2+", "+", "Cl", "1-", "->", "Ag", "Cl"},
     [](TDriver& d) {
       d.ExpectDialog("changecharge").Press("Answer");
       d.ExpectDialog<TResultWindow>().Press(1);
     }},
};

INSTANTIATE_TEST_SUITE_P(, GradingsPerCheck, testing::ValuesIn(kGradingCases),
                         [](const auto& info) { return std::string(info.param.name); });

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
