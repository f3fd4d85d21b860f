// What the Assign dialog's answers become: the due date it offers, what it refuses, and the
// assignment made of the ticked reactions.
#include "editor/rules/assignment_draft.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "model/reaction_file.h"

namespace {

struct DueCase {
  const char* name;
  const char* zone;
  std::time_t now;
  const char* due;
};

class DefaultDueDate : public testing::TestWithParam<DueCase> {};

TEST_P(DefaultDueDate, IsTomorrowAtEightLocalTimeInUtc) {
  const DueCase& row = GetParam();
  const char* before = std::getenv("TZ");
  const std::string kept = before ? before : "";
  setenv("TZ", row.zone, 1);
  tzset();
  EXPECT_EQ(DefaultDue(row.now), row.due);
  if (before)
    setenv("TZ", kept.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

// clang-format off
const DueCase kDue[] = {
    // Tuesday 8 December 2026, 13:45 UTC.
    {"Utc", "UTC0", 1796737500, "2026-12-09T08:00:00Z"},
    {"Berlin", "CET-1CEST,M3.5.0,M10.5.0/3", 1796737500, "2026-12-09T07:00:00Z"},
    // 23:30 in New York is already the next day in UTC: tomorrow is New York's.
    {"NewYorkLateEvening", "EST5EDT,M3.2.0,M11.1.0", 1796790600, "2026-12-09T13:00:00Z"},
    // The last day of a month and of a year.
    {"NewYearsEve", "UTC0", 1798718400, "2027-01-01T08:00:00Z"},
    // Summer time begins overnight in Berlin (29 March 2026): 8:00 is then 6:00 UTC.
    {"ClocksGoForward", "CET-1CEST,M3.5.0,M10.5.0/3", 1774699200, "2026-03-29T06:00:00Z"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, DefaultDueDate, testing::ValuesIn(kDue),
                         [](const auto& info) { return std::string(info.param.name); });

struct DraftCase {
  const char* name;
  TAssignmentDraft draft;
  bool refused;
};

class AssignDraft : public testing::TestWithParam<DraftCase> {};

TEST_P(AssignDraft, IsRefusedWithAReasonOrMadeFromTheTickedReactions) {
  const DraftCase& row = GetParam();
  EXPECT_EQ(!DraftProblem(row.draft).empty(), row.refused) << DraftProblem(row.draft);
  if (row.refused) return;
  TReaction silver("Silver nitrate and sodium chloride.", 0);
  silver.reactants[0] = {"Ag", 1};
  silver.products[0] = {"AgCl", 0};
  TReaction acid("Hydrochloric acid and sodium hydroxide.", 1);
  const TAssignment made = MakeAssignment({&acid, &silver}, row.draft, "mrs.k", "id1", 1796737500);
  EXPECT_EQ(made.title, "Homework 3");
  EXPECT_EQ(made.due, row.draft.due);
  EXPECT_EQ(made.assignedAt, "2026-12-08T13:45:00Z");
  EXPECT_EQ(made.shuffled, row.draft.shuffled);
  EXPECT_EQ(made.QuestionCount(), row.draft.practiceCount > 0 ? row.draft.practiceCount : 2);
  ASSERT_EQ(made.reactions.size(), 2u);
  EXPECT_EQ(made.reactions[1].question, silver.QuestionText());
  EXPECT_EQ(made.reactions[1].type, 0);
  // The record is the reaction itself: decoded, it is graded as the teacher's one.
  const std::unique_ptr<TReaction> back = DecodeReaction(made.reactions[1].record.data());
  EXPECT_EQ(back->products[0].FormulaText(), "AgCl");
  EXPECT_EQ(back->reactants[0].charge, 1);
  EXPECT_EQ(made.reactions[0].type, 1);
}

// clang-format off
const DraftCase kDrafts[] = {
    {"Listed", {"Homework 3", "2026-12-09T08:00:00Z", false}, false},
    {"ShuffledTitleTrimmed", {"  Homework 3\t", "2026-12-09T08:00:00Z", true}, false},
    {"NoTitle", {"   ", "2026-12-09T08:00:00Z", false}, true},
    {"DueNotUtc", {"Homework 3", "2026-12-09T08:00:00+01:00", false}, true},
    {"DueEmpty", {"Homework 3", "", false}, true},
    {"PracticeOfHerOwnMistakes", {"Homework 3", "2026-12-09T08:00:00Z", false, 12}, false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, AssignDraft, testing::ValuesIn(kDrafts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
