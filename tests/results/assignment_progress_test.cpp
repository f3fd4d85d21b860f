// Where a student stands on an assignment, from her answers to it.
#include "results/assignment_progress.h"

#include <gtest/gtest.h>

#include "results/assignment_grid.h"
#include "results/results_store.h"
#include "tests/results/results_backend.h"
#include "tests/results/sample_answers.h"

namespace {

struct TGiven {
  int question;
  int firstScore;
  const char* at = "2026-11-02T10:00:00Z";
  TEnding ending = TEnding::RightAtOnce;
  const char* assignment = "hw";
};

struct TStateRow {
  const char* name;
  int questions;  // negative: a practice assignment of that many
  std::vector<TGiven> answers;
  const char* asScore;  // the teacher's grid
  const char* asState;  // the student's list
};

const TStateRow kStateRows[] = {
    {"NotStarted", 10, {}, "not started", "not started"},
    {"ThreeOfTen", 10, {{0, 3}, {1, 2}, {2, 3}}, "3 of 10", "3 of 10"},
    {"Done", 4, {{0, 3}, {1, 3}, {2, 2}, {3, 3}}, "92%", "done"},
    {"Late", 4, {{0, 3}, {1, 3}, {2, 2}, {3, 3, "2026-11-03T08:00:01.250Z"}}, "92%, late", "late"},
    {"AQuitDoesNotCount",
     4,
     {{0, 3}, {1, 3}, {2, 3}, {3, 0, "2026-11-02T10:00:00Z", TEnding::Quit}},
     "3 of 4",
     "3 of 4"},
    {"AQuestionAnsweredTwiceCountsOnceWithItsFirstTry",
     3,
     {{0, 3, "2026-11-02T11:00:00Z"}, {0, 1, "2026-11-02T09:00:00Z"}, {1, 3}, {2, 3}},
     "78%",
     "done"},
    {"AnotherAssignmentsAnswersDoNotCount",
     2,
     {{0, 3, "2026-11-02T10:00:00Z", TEnding::RightAtOnce, "other"}},
     "not started",
     "not started"},
    {"PracticeCountsItsQuestions", -3, {{5, 3}, {6, 3}, {7, 2}}, "89%", "done"},
};

TAssignment AssignmentOf(const TStateRow& row) {
  TAssignment a;
  a.id = row.name;
  a.title = row.name;
  a.due = "2026-11-03T08:00:00Z";
  a.assignedAt = "2026-11-01T08:00:00Z";
  a.practiceCount = row.questions < 0 ? -row.questions : 0;
  for (int q = 0; q < row.questions; ++q)
    a.reactions.push_back({"Question " + std::to_string(q), 0, {1, 2, 3}});
  return a;
}

std::vector<TAnswerRecord> AnswersOf(const TStateRow& row) {
  std::vector<TAnswerRecord> answers;
  for (const TGiven& given : row.answers) {
    TAnswerRecord r = SampleAnswer(static_cast<int>(answers.size()), "Ada", row.name);
    r.question = "Question " + std::to_string(given.question);
    r.firstScore = given.firstScore;
    r.ending = given.ending;
    r.answeredAt = given.at;
    r.assignmentId = given.assignment == std::string("hw") ? row.name : given.assignment;
    answers.push_back(r);
  }
  return answers;
}

class AssignmentStates : public ::testing::TestWithParam<TBackend> {};

// From her answers, and as the store counts them for the grid, alike.
TEST_P(AssignmentStates, EachStateAsTheGridAndTheStudentsListSayIt) {
  TBackendPlace place(GetParam());
  SKIP_WITHOUT_BACKEND(place);
  TResultsStore store;
  ASSERT_TRUE(store.Open(place.NewLocation())) << store.Error();
  for (const TStateRow& row : kStateRows) {
    ASSERT_TRUE(store.WriteAssignment(AssignmentOf(row))) << store.Error();
    for (const TAnswerRecord& answer : AnswersOf(row)) {
      std::string why;
      ASSERT_TRUE(store.Record(answer, why)) << why;
    }
  }
  const TAssignmentGrid grid = ReadAssignmentGrid(store);
  // Files shown together: the grid's summaries worked out afresh from the answers merged.
  TResultsStore merged;
  ASSERT_TRUE(merged.OpenInMemory() && merged.Merge(store) > 0) << merged.Error();
  // (A server names her by login, a file by the name she gave.)
  const auto unnamed = [](std::vector<TAssignmentTally> tallies) {
    for (TAssignmentTally& tally : tallies) tally.student.clear();
    return tallies;
  };
  EXPECT_EQ(unnamed(merged.AssignmentTallies()), unnamed(store.AssignmentTallies()));
  // A server names her by the login that wrote her answers.
  const std::string who = GetParam() == TBackend::Sqlite ? "Ada" : store.Login();
  ASSERT_EQ(grid.students, std::vector<std::string>{who}) << store.Error();
  ASSERT_EQ(grid.assignments.size(), std::size(kStateRows));
  for (const TStateRow& row : kStateRows) {
    const std::vector<TAnswerRecord> answers = AnswersOf(row);
    const TAssignmentProgress progress = ProgressOf(AssignmentOf(row), answers);
    EXPECT_EQ(ProgressText(progress, true), row.asScore) << row.name;
    EXPECT_EQ(ProgressText(progress, false), row.asState) << row.name;
    const auto column = std::find_if(grid.assignments.begin(), grid.assignments.end(),
                                     [&](const TAssignment& a) { return a.id == row.name; });
    ASSERT_NE(column, grid.assignments.end()) << row.name;
    EXPECT_EQ(ProgressText(grid.cells[0][column - grid.assignments.begin()], true), row.asScore)
        << row.name;
    const auto given = std::count_if(answers.begin(), answers.end(),
                                     [&](const auto& r) { return r.assignmentId == row.name; });
    EXPECT_EQ(store.AnswersTo(who, row.name).size(), static_cast<std::size_t>(given)) << row.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, AssignmentStates,
                         ::testing::Values(TBackend::Sqlite, TBackend::Postgresql), BackendName);

}  // namespace
