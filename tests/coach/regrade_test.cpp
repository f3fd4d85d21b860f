#include "coach/rules/regrade.h"

#include <gtest/gtest.h>

#include "tests/results/sample_answers.h"

namespace {

constexpr const char* kSilver = "Ag+ + Cl- -> AgCl";

struct RegradeCase {
  const char* name;
  const char* stored;
  const char* first;
  const char* final;
  TEnding ending;
  int firstScore, finalScore;
  bool given;
};

class Regrade : public testing::TestWithParam<RegradeCase> {};

TEST_P(Regrade, TellsScoresThisProgramGives) {
  const RegradeCase& c = GetParam();
  EXPECT_EQ(ScoresGivenByTarvolin(c.stored, c.first, c.final, c.ending, c.firstScore, c.finalScore),
            c.given);
}

const RegradeCase kCases[] = {
    {"RightAtOnce", kSilver, kSilver, kSilver, TEnding::RightAtOnce, 3, 3, true},
    {"Coached", kSilver, "Ag+ + Cl-", kSilver, TEnding::RightAfterCoaching, 1, 3, true},
    {"CoachedFirstRaised", kSilver, "Ag+ + Cl-", kSilver, TEnding::RightAfterCoaching, 2, 3, false},
    {"Shown", kSilver, "Na+ + Cl- -> AgCl", "Na+ + Cl- -> AgCl", TEnding::Answer, 2, 2, true},
    {"ShownAfterAChargePutRight", "Zn + Cu2+ -> Zn2+ + Cu", "Zn + Cu2+ -> Zn3+ + Cu+",
     "Zn + Cu2+ -> Zn2+ + Cu+", TEnding::Answer, 1, 1, true},
    {"ShownFinalRaised", kSilver, "Na+ + Cl- -> AgCl", "Na+ + Cl- -> AgCl2", TEnding::Answer, 2, 2,
     false},
    {"RightAtOnceThatWasCoached", kSilver, "Na+ + Cl- -> AgCl", kSilver, TEnding::RightAtOnce, 2, 3,
     false},
    {"Quit", kSilver, "", "Ag+", TEnding::Quit, 0, 0, true},
    {"StoredNotTypeable", "Ag+ + Cl- -> AgCl#", kSilver, kSilver, TEnding::RightAtOnce, 3, 3,
     false},
    {"FinalNotTypeable", kSilver, "Na+ + Cl- -> AgCl", "Na+ + Cl- -> Ag\xC3\x9F", TEnding::Answer,
     2, 0, false},
};

INSTANTIATE_TEST_SUITE_P(Answers, Regrade, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The answers the results tests keep are ones the program could have kept.
TEST(RegradeKept, SampleAnswersAreTheProgramsOwn) {
  for (int n = 0; n < 60; ++n) {
    const TAnswerRecord r = SampleAnswer(n);
    EXPECT_TRUE(ScoresGivenByTarvolin(r.storedAnswer, r.firstAnswer, r.finalAnswer, r.ending,
                                      r.firstScore, r.finalScore))
        << n;
  }
}

}  // namespace
