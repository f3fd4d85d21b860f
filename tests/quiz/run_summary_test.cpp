// The summary of a quiz run, from the questions as they ended.
#include "quiz/rules/run_summary.h"

#include <gtest/gtest.h>

#include "quiz/quiz_window.h"

namespace {

struct Answered {
  int32_t points;
  TEnding ending;
  int32_t type;
};

struct SummaryCase {
  const char* name;
  std::vector<Answered> answers;
  std::vector<std::string> lines;
};

void PrintTo(const SummaryCase& row, std::ostream* os) {
  *os << row.name;
}

constexpr TEnding kAtOnce = TEnding::RightAtOnce;
constexpr TEnding kCoached = TEnding::RightAfterCoaching;
constexpr TEnding kShown = TEnding::Answer;
constexpr TEnding kQuit = TEnding::Quit;

// clang-format off
const SummaryCase kSummaries[] = {
    {"NothingAnsweredSaysNothing", {}, {}},
    {"AQuitIsNoAnswer", {{0, kQuit, 1}}, {}},
    {"AllRightAtOnceMissedNothing", {{3, kAtOnce, 0}, {3, kAtOnce, 2}},
     {"This quiz run: 6 out of 6 points.", "Right at once: 2 of 2 questions.",
      "Needed coaching: none.", "Reaction type most missed: none."}},
    {"OneTypeMissedMost", {{3, kAtOnce, 0}, {1, kShown, 2}, {3, kCoached, 2}, {2, kShown, 1}},
     {"This quiz run: 9 out of 12 points.", "Right at once: 1 of 4 questions.",
      "Needed coaching: 3 questions.", "Reaction type most missed: Redox (2 questions)."}},
    // Put right by coaching or not, a question that needed it counts as missed.
    {"TwoTypesTied", {{3, kCoached, 3}, {0, kShown, 1}, {3, kAtOnce, 3}},
     {"This quiz run: 6 out of 9 points.", "Right at once: 1 of 3 questions.",
      "Needed coaching: 2 questions.",
      "Reaction types most missed: Acid/Base and Complex Ion (1 question each)."}},
    {"ThreeTypesTiedInTypeOrder",
     {{2, kShown, 4}, {2, kShown, 0}, {2, kShown, 4}, {1, kShown, 0}, {2, kCoached, 2},
      {3, kCoached, 2}, {0, kQuit, 1}},
     {"This quiz run: 12 out of 18 points.", "Right at once: 0 of 6 questions.",
      "Needed coaching: 6 questions.",
      "Reaction types most missed: Precipitation, Redox and Miscellaneous (2 questions each)."}},
    {"OneQuestionAfterAQuitOfAnother", {{0, kQuit, 0}, {2, kShown, 0}},
     {"This quiz run: 2 out of 3 points.", "Right at once: 0 of 1 question.",
      "Needed coaching: 1 question.", "Reaction type most missed: Precipitation (1 question)."}},
};
// clang-format on

class RunSummaryTable : public testing::TestWithParam<SummaryCase> {};

TEST_P(RunSummaryTable, SaysPointsRightAtOnceCoachingAndTheTypeMostMissed) {
  const SummaryCase& row = GetParam();
  TRunSummary summary;
  for (const Answered& answer : row.answers) summary.Add(answer.points, answer.ending, answer.type);
  EXPECT_EQ(summary.Lines(), row.lines);
  // The completion message keeps its own text first and adds the same lines.
  std::string message =
      "You have completed all of the reactions or there are no reactions in the chosen categories";
  for (std::size_t i = 0; i < row.lines.size(); ++i)
    message += (i == 0 ? "\n\n" : "\n") + row.lines[i];
  EXPECT_EQ(TQuizWindow::CompletionMessage(summary), message);
  summary.Clear();
  EXPECT_TRUE(summary.Lines().empty());
}

INSTANTIATE_TEST_SUITE_P(, RunSummaryTable, testing::ValuesIn(kSummaries),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
