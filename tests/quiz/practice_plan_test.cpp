#include "quiz/rules/practice_plan.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "bank/bank_text.h"
#include "model/answer_text.h"
#include "model/question_outcome.h"

namespace {

// Questions A to G, named by their letter.
constexpr const char* kLines[] = {
    "Precipitation | A | Ag{+} + Cl{-} -> AgCl",
    "Redox | B | Zn + Cu{2+} -> Zn{2+} + Cu",
    "Redox | C | CH4 + O2 -> CO2 + H2O",
    "Precipitation | D | Fe{3+} + OH{-} -> Fe(OH)3",
    "AcidBase | E | H{+} + OH{-} -> H2O",
    "ComplexIon | F | Cu{2+} + NH3 -> Cu(NH3)4{2+}",
    "Redox | G | Fe{2+} + MnO4{-} + H{+} -> Fe{3+} + Mn{2+} + H2O",
};

struct PlanCase {
  const char* name;
  // Her answers: "day question firstScore [step:substance ...]" separated by ';', the steps by
  // their initials O, D, W, M.
  const char* history;
  int today, count;
  const char* first;   // the questions planned first, in order
  const char* absent;  // questions that must not come
  const char* why;
  const char* skip = "";  // questions a practice homework has had answered already
};

class Schedule : public testing::TestWithParam<PlanCase> {
 protected:
  static void SetUpTestSuite() {
    std::string reason;
    for (const char* line : kLines) {
      std::unique_ptr<TReaction> reaction;
      ASSERT_TRUE(ParseBankLine(line, reaction, reason)) << reason;
      exercised_.push_back(ExercisedBy(*reaction));
      reactions_.push_back(std::move(reaction));
    }
  }
  static TClock Day(int day) {
    return TimeOfAnswer("2026-11-01T09:00:00Z") + std::chrono::days(day);
  }

  static std::vector<TAnswerRecord> History(const std::string& text) {
    std::vector<TAnswerRecord> answers;
    std::istringstream entries(text);
    for (std::string entry; std::getline(entries, entry, ';');) {
      std::istringstream words(entry);
      int day = 0;
      char question = 0;
      TAnswerRecord r;
      if (!(words >> day >> question >> r.firstScore)) continue;
      const TReaction& reaction = *reactions_[question - 'A'];
      r.question = reaction.QuestionText();
      r.storedAnswer = StoredAnswerText(reaction);
      r.answeredAt = AnswerTime(Day(day));
      r.ending = r.firstScore == kFullScore ? TEnding::RightAtOnce : TEnding::RightAfterCoaching;
      for (std::string note; words >> note;)
        r.coaching.push_back(
            {static_cast<TCoachingStep>(std::string("ODWM").find(note[0])), note.substr(2)});
      answers.push_back(r);
    }
    return answers;
  }

  static std::vector<int> Places(const std::string& questions) {
    std::vector<int> places;
    for (char question : questions) places.push_back(question - 'A');
    return places;
  }

  static inline TReactionList reactions_;
  static inline std::vector<TExercised> exercised_;
};

TEST_P(Schedule, AsksInOrderOfNeed) {
  const PlanCase& c = GetParam();
  const TPracticePlan plan = PlanPractice(
      History(c.history), reactions_, exercised_, Day(c.today), [] { return 7u; }, c.count,
      Places(c.skip));
  std::string asked;
  for (int i : plan.questions) asked += static_cast<char>('A' + i);
  EXPECT_EQ(asked.substr(0, std::string(c.first).size()), c.first) << asked;
  EXPECT_EQ(asked.find_first_of(c.absent), std::string::npos) << asked;
  EXPECT_EQ(std::set<char>(asked.begin(), asked.end()).size(), static_cast<std::size_t>(c.count));
  EXPECT_EQ(plan.Why(), c.why);
}

const PlanCase kCases[] = {
    {"FirstStartSpreadsOverTypes", "", 0, 4, "", "", "4 across the types"},
    {"MissedComesBackNextTime", "0 A 1", 1, 1, "A", "", "1 you missed"},
    {"RightOnceWaitsAFewDays", "0 A 1; 1 A 3", 2, 6, "", "A", "6 across the types"},
    {"RightOnceBackAfterAFewDays", "0 A 1; 1 A 3", 4, 1, "A", "", "1 you missed"},
    {"RightTwiceIsDone", "0 A 1; 1 A 3; 5 A 3", 9, 1, "", "", "1 across the types"},
    {"MissedAgainStartsOver", "0 A 1; 1 A 3; 5 A 3; 6 A 2", 7, 1, "A", "", "1 you missed"},
    {"LongestWaitingFirstWhenRoomIsShort", "0 B 1; 1 B 3; 5 A 2", 6, 1, "B", "", "1 you missed"},
    {"ThenTheSubstanceSheWasCoachedOn", "0 D 1 O:Fe2+", 1, 2, "DG", "",
     "1 you missed, 1 on charges of ions"},
    {"IonsOfTheCompoundSheWasHelpedToSplit", "0 A 1 D:NaOH; 1 A 3; 5 A 3", 9, 1, "", "ABCFG",
     "1 on splitting dissolved compounds into ions"},
    {"KindsShareTheRoomByNeed", "0 D 1 O:Fe2+; 1 C 1 M:O2", 2, 6, "DC", "",
     "2 you missed, 2 on charges of ions, 2 on substances left out"},
    {"LatelyOutweighsLongAgo",
     "0 C 1 M:O2; 1 C 1 M:O2; 2 C 3; 6 C 3; 40 E 1 D:NaOH; 41 E 3; 45 E 3", 46, 1, "", "C",
     "1 on splitting dissolved compounds into ions"},
    {"OftenOutweighsOnce", "0 C 1 M:H2O; 1 C 3; 5 C 3; 0 A 1 W:Na+; 1 A 1 W:Na+; 2 A 3; 6 A 3", 7,
     1, "", "C", "1 on leaving out what takes no part"},
    {"AnsweredInTheHomeworkIsNotAskedAgain", "0 A 1", 1, 1, "", "A", "1 across the types", "A"},
};

INSTANTIATE_TEST_SUITE_P(Answers, Schedule, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
