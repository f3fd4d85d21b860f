// An answer's record, made once from the question and its outcome, stamped and handed on.
#include "quiz/rules/answer_recorder.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/support/equation_text.h"

namespace {

// Keeps what it is given; refuses while told to.
class TListSink : public TAnswerSink {
 public:
  bool Record(const TAnswerRecord& record, std::string& why) override {
    records.push_back(record);
    if (refuse) why = "not kept";
    return !refuse;
  }
  std::vector<TAnswerRecord> records;
  bool refuse = false;
};

struct OutcomeCase {
  const char* name;
  TEnding ending;
  int32_t firstScore, points;
  const char* first;  // the equation as first checked; null when never checked
  const char* final;
  const char* firstAnswer;  // as the record writes them
  const char* finalAnswer;
};

class RecordOfAnOutcome : public testing::TestWithParam<OutcomeCase> {};

TEST_P(RecordOfAnOutcome, CarriesTheOutcomeAndTheQuestion) {
  const OutcomeCase& row = GetParam();
  TReaction reaction("Silver.", 0);
  reaction.reactants[0] = {"Ag", 1};
  reaction.reactants[1] = {"Cl", -1};
  reaction.products[0] = {"AgCl", 0};
  TQuestionOutcome outcome;
  outcome.ending = row.ending;
  outcome.firstScore = row.firstScore;
  outcome.points = row.points;
  if (row.first) outcome.firstEquation = EquationFromText(row.first);
  if (row.final) outcome.finalEquation = EquationFromText(row.final);
  outcome.coaching = {{TCoachingStep::MissingSubstance, "AgCl"}};
  outcome.seconds = 12;
  const TAnswerRecord record = TAnswerRecorder::Build(reaction, 4, outcome, {"Marie", "marie"});
  EXPECT_EQ(record.ending, row.ending);
  EXPECT_EQ(record.firstScore, row.firstScore);
  EXPECT_EQ(record.finalScore, row.points);
  EXPECT_EQ(record.firstAnswer, row.firstAnswer);
  EXPECT_EQ(record.finalAnswer, row.finalAnswer);
  EXPECT_EQ(record.coaching, outcome.coaching);
  EXPECT_EQ(record.seconds, 12);
  EXPECT_EQ(record.questionNumber, 5);
  EXPECT_EQ(record.question, "Silver.");
  EXPECT_EQ(record.storedAnswer, "Ag+ + Cl- -> AgCl");
  EXPECT_EQ(record.student, "Marie");
  EXPECT_EQ(record.login, "marie");
}

// clang-format off
const OutcomeCase kOutcomes[] = {
    {"RightAtOnce", TEnding::RightAtOnce, 3, 3, "Ag^1+ + Cl^1- -> AgCl", "Ag^1+ + Cl^1- -> AgCl",
     "Ag+ + Cl- -> AgCl", "Ag+ + Cl- -> AgCl"},
    {"RightAfterCoaching", TEnding::RightAfterCoaching, 1, 3, "Ag^1+ + Cl^1-",
     "Ag^1+ + Cl^1- -> AgCl", "Ag+ + Cl-", "Ag+ + Cl- -> AgCl"},
    {"Shown", TEnding::Answer, 2, 2, "Na^1+ + Cl^1- -> AgCl", "Na^1+ + Cl^1- -> AgCl",
     "Na+ + Cl- -> AgCl", "Na+ + Cl- -> AgCl"},
    {"QuitBeforeAnyCheck", TEnding::Quit, 0, 0, nullptr, "Ag^1+", "", "Ag+"},
    {"QuitWithNoEquation", TEnding::Quit, 0, 0, nullptr, nullptr, "", ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, RecordOfAnOutcome, testing::ValuesIn(kOutcomes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnswerRecorder, StampsEachAnswerAndTellsAFailureOncePerRun) {
  TListSink sink;
  int asked = 0;
  TAnswerRecorder recorder(sink, [&asked] {
    return TAnswerer{"S" + std::to_string(++asked), "s"};
  });
  TReaction reaction("Q.", 2);
  TQuestionOutcome outcome;
  outcome.ending = TEnding::Answer;
  for (int run = 0; run < 2; ++run) {
    // The first run answers an assignment, the second is practice of her own mistakes.
    recorder.BeginRun({0, 1, 1, 0, 0}, run == 0 ? "hw1" : "", run == 1);
    sink.refuse = true;
    EXPECT_EQ(recorder.Record(reaction, 0, outcome), "not kept");
    EXPECT_EQ(recorder.Record(reaction, 1, outcome), "");
    sink.refuse = false;
    EXPECT_EQ(recorder.Record(reaction, 2, outcome), "");
  }
  ASSERT_EQ(sink.records.size(), 6u);
  std::set<std::string> ids;
  for (std::size_t i = 0; i < sink.records.size(); ++i) {
    const TAnswerRecord& r = sink.records[i];
    ids.insert(r.answerId);
    EXPECT_EQ(r.runId, sink.records[i < 3 ? 0 : 3].runId);
    EXPECT_EQ(r.types, "Acid/Base, Redox");
    EXPECT_EQ(r.assignmentId, i < 3 ? "hw1" : "");
    EXPECT_EQ(r.practice, i < 3 ? 0 : 1);
    EXPECT_EQ(r.answeredAt.size(), 20u);
    EXPECT_EQ(r.runStarted.size(), 20u);
    // Who answers is asked at every answer.
    EXPECT_EQ(r.student, "S" + std::to_string(i + 1));
  }
  EXPECT_EQ(ids.size(), 6u);
  EXPECT_NE(sink.records[0].runId, sink.records[3].runId);
}

}  // namespace
