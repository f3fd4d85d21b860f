#include "coach/rules/exercised_kinds.h"

#include <gtest/gtest.h>

#include <fstream>

#include "bank/bank_text.h"

namespace {

// The starter reaction whose line holds the question.
std::unique_ptr<TReaction> Starter(std::string_view question) {
  std::ifstream in(TARVOLIN_STARTER_TEXT);
  std::unique_ptr<TReaction> reaction;
  std::string reason;
  for (std::string line; std::getline(in, line);)
    if (line.find(question) != std::string::npos && ParseBankLine(line, reaction, reason))
      return reaction;
  return nullptr;
}

constexpr TCoachingStep kSteps[] = {TCoachingStep::OxidationNumber, TCoachingStep::Dissociation,
                                    TCoachingStep::WrongSubstance, TCoachingStep::MissingSubstance};

struct ExercisedCase {
  const char* question;
  const char* kinds;  // the steps exercised by their initials: O, D, W, M
  TCoachingStep step;
  const char* substance;  // a substance that step concerns
};

void PrintTo(const ExercisedCase& c, std::ostream* os) {
  *os << c.question;
}

class Exercised : public testing::TestWithParam<ExercisedCase> {};

TEST_P(Exercised, KindsComeFromTheCoachOnTypicalMistakes) {
  const ExercisedCase& c = GetParam();
  const auto reaction = Starter(c.question);
  ASSERT_TRUE(reaction);
  const TExercised exercised = ExercisedBy(*reaction);
  std::string kinds;
  for (int i = 0; i < kCoachingStepCount; ++i)
    if (exercised.Exercises(kSteps[i])) kinds += "ODWM"[i];
  EXPECT_EQ(kinds, c.kinds);
  EXPECT_TRUE(exercised.Concerns(c.step, c.substance));
}

// Silver chloride: "AgNO3 + Cl-" leads to the dissociation dialog, but "Ag+ + NaCl" to the
// wrong-substance one, since the coach's search for a compound stops at the lone "Ag".
const ExercisedCase kCases[] = {
    {"silver nitrate and sodium chloride", "ODWM", TCoachingStep::Dissociation, "AgNO3"},
    {"silver nitrate and sodium chloride", "ODWM", TCoachingStep::WrongSubstance, "NaCl"},
    {"silver nitrate and sodium chloride", "ODWM", TCoachingStep::OxidationNumber, "Ag2+"},
    {"Methane burns", "WM", TCoachingStep::MissingSubstance, "O2"},
    {"Solid calcium carbonate is heated", "WM", TCoachingStep::WrongSubstance, "Na+"},
};

INSTANTIATE_TEST_SUITE_P(Starter, Exercised, testing::ValuesIn(kCases));

}  // namespace
